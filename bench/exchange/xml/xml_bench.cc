// Reading a request of about 4 KB (16 items) (with the searches request handling makes) and writing
// a statement-sized reply of a few hundred elements.

#include <benchmark/benchmark.h>

#include <string>

#include "exchange/xml/correct_xml.h"
#include "exchange/xml/xml_document.h"
#include "exchange/xml/xml_iterator.h"

namespace {

std::string RoomServiceRequest(int items) {
  std::string text =
      "POST /interface/xxxxx HTTP/1.1\r\nHost: 192.0.2.10\r\nContent-Type: text/xml\r\n\r\n"
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\r\n"
      "<soap:Body>\r\n<ZIRUVUZ>\r\n<login>\r\n<username>FRONT1</username>\r\n"
      "<password>secret</password>\r\n</login>\r\n<ACTIONS>\r\n<Action>ROOM SERVICE</Action>\r\n"
      "<Room>101</Room>\r\n<Ordernumber>RS-2024-0042</Ordernumber>\r\n";
  for (int i = 0; i < items; ++i) {
    text +=
        "<ITEM>\r\n  <Code>BRK01</Code>\r\n  <Descrip>Desayuno continental &amp; zumo</Descrip>\r\n"
        "  <Quantity>2</Quantity>\r\n  <Price>1,250.00</Price>\r\n  <Tax1>10</Tax1>\r\n"
        "  <Tax2>0</Tax2>\r\n  <Tax3>0</Tax3>\r\n  <Notes>sin az\xFA"
        "car</Notes>\r\n</ITEM>\r\n";
  }
  return text + "</ACTIONS>\r\n</ZIRUVUZ>\r\n</soap:Body>\r\n</soap:Envelope>";
}

void BM_ReadRequest(benchmark::State& state) {
  const std::string text = RoomServiceRequest(16);
  for (auto _ : state) {
    TXmlDocument document = TXmlDocument::New(text);
    benchmark::DoNotOptimize(document);
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadRequest);

void BM_ReadAndSearchRequest(benchmark::State& state) {
  const std::string text = RoomServiceRequest(16);
  for (auto _ : state) {
    const TXmlDocument document = TXmlDocument::New(text);
    TXmlIteratorScan in_login(*document.FindFirst("login"));
    benchmark::DoNotOptimize(in_login.Find("username"));
    benchmark::DoNotOptimize(in_login.Find("password"));
    TXmlIteratorScan items(*document.FindFirst("ACTIONS"));
    for (const TXmlNode* item = items.Find("ITEM"); item; item = items.Next()) {
      TXmlIteratorScan fields(*item);
      for (const char* name : {"Code", "Descrip", "Quantity", "Price", "Tax1", "Tax2", "Tax3"}) {
        benchmark::DoNotOptimize(fields.Find(name));
      }
    }
  }
}
BENCHMARK(BM_ReadAndSearchRequest);

void BM_WriteStatement(benchmark::State& state) {
  auto statement = TXmlNode::New("STATEMENT", "ZIRUVUZ");
  TXmlNode* movements = statement->AddBelow(TXmlNode::New("MOVEMENTS", "MOVEMENTS"));
  for (int i = 0; i < state.range(0); ++i) {
    TXmlNode* entry = movements->AddBelow(TXmlNode::New("ENTRY", "ENTRY"));
    entry->SetAttribute("DATE", "2024-03-01");
    entry->SetAttribute("DOCUMENT", "00005001");
    entry->SetAttribute("TRANSACTION", "Room Service");
    entry->SetAttribute("COMMENT", "Caf\xE9 & t\xE9");
    entry->SetAttribute("DEBIT", "1,250.00");
    entry->SetAttribute("CREDIT", "0.00");
  }
  for (auto _ : state) {
    std::string text = CORRECT_XML(statement->ToString());
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_WriteStatement)->Arg(500);

}  // namespace

BENCHMARK_MAIN();
