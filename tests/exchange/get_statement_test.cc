// GETSTATEMENT: the whole statement of a stay set up for it in a copy of the demo tables (single
// lines, groups, voided lines in and out of groups, a card payment, a converted folio), how
// converted amounts are divided, an empty statement, and the error replies.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "exchange/imp_cta.h"
#include "lib/data/data_error.h"
#include "lib/data/work_areas.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

using testing_support::BodyOf;

using testing_support::Envelope;
using testing_support::Login;
using xbtool::Day;
using xbtool::FieldValues;
using xbtool::Number;
using xbtool::Text;

std::string StatementRequest(const std::string& actions) {
  return Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>GETSTATEMENT</Action>" + actions +
                  "</ACTIONS>");
}

std::string RoomRequest(const std::string& room) {
  return StatementRequest("<Room>" + room + "</Room>");
}

// The demo tables plus a stay in room 310 (reservation R09001, room line 001) with two guest
// folios: 900001 (blocked, rate 1) and 900002 (stated converted), and two folios of the same
// reservation that are not the stay's guest folios.
class GetStatementTest : public testing_support::ExchangeFixture {
 protected:
  static constexpr char kBusiness[] = "HTL01";

  void SetUp() override {
    ExchangeFixture::SetUp();
    tables_.Close();
    xbtool::DemoWriter out(dir_.File("BASES"));
    AddStay(out);
    AddGuestFolio(out);
    AddConvertedFolio(out);
    out.Close();
    tables_.Open();
  }

  // Changes the tables while the exchange has them closed.
  void ChangeTables(const std::function<void(xbtool::DemoWriter&)>& change) {
    tables_.Close();
    xbtool::DemoWriter out(dir_.File("BASES"));
    change(out);
    out.Close();
    tables_.Open();
  }

  // Sets the property's MANEJO_DOL and reservation currency (its records are the first).
  void SetProperty(int lines_keep_own_rate, const char* reservation_currency) {
    ChangeTables([&](xbtool::DemoWriter& out) {
      out.Change("F_HOTEL3", 1, {{"MANEJO_DOL", Number(lines_keep_own_rate)}});
      out.Change("F_HOTEL", 1, {{"MONEDA_RES", Text(reservation_currency)}});
    });
  }

  int64_t March(int day) const { return xbase::JulianDay(2024, 3, day); }

 private:
  void AddStay(xbtool::DemoWriter& out) {
    out.Add("DET_RES2", {{"NEGOCIO", Text(kBusiness)},
                         {"COD_RES", Text("R09001")},
                         {"COD_HAB", Text("H001")},
                         {"CODIGO", Text("001")},
                         {"COD_ROOMS", Text("310")},
                         {"NOMBRE", Text("I\xF1igo")},
                         {"APELLIDO1", Text("P\xE9rez")},
                         {"NOMBRE_C", Text("I\xF1igo P\xE9rez")},
                         {"ESTADO", Number(1)}});
    AddFolio(out, "900001", {{"BLOQUEADO", Number(1)}});
    AddFolio(out, "900002", {{"FACTURA_E", Number(1)}});
    AddFolio(out, "900003", {{"CTA_MAES", Number(1)}});  // the reservation's master account
    AddFolio(out, "900004", {{"COD_HAB", Text("H002")}, {"CODIGO", Text("002")}});
    for (const char* other : {"900003", "900004"}) {
      AddLine(out, other, "0001", "", {{"COD_TRANS", Text("HB")}, {"DEBITO", Number(1)}});
    }
  }

  void AddFolio(xbtool::DemoWriter& out, const char* number, const FieldValues& changes) {
    uint32_t recno = out.Add("ENC_FOL", {{"NEGOCIO", Text(kBusiness)},
                                         {"NUMERO", Text(number)},
                                         {"COD_RES", Text("R09001")},
                                         {"ROOM", Text("310")},
                                         {"COD_HAB", Text("H001")},
                                         {"CODIGO", Text("001")},
                                         {"CTA_MAES", Number(0)},
                                         {"BLOQUEADO", Number(0)},
                                         {"FACTURA_E", Number(0)}});
    out.Change("ENC_FOL", recno, changes);
  }

  // A line of room 310 dated 6 March at rate 1; `fields` adds to or overrides that.
  void AddLine(xbtool::DemoWriter& out, const char* folio, const char* consecutive,
               const char* group, const FieldValues& fields) {
    uint32_t recno = out.Add("DET_FOL", {{"NEGOCIO", Text(kBusiness)},
                                         {"NUMERO", Text(folio)},
                                         {"ROOM", Text("310")},
                                         {"HAB_ORIGEN", Text("310")},
                                         {"FECHA_O", Day(March(6))},
                                         {"CIERRE_DIA", Day(March(6))},
                                         {"COD_RACK", Text("COR")},
                                         {"GRUPO", Text(group)},
                                         {"CONSECUT", Text(consecutive)},
                                         {"T_CAMBIO", Number(1)}});
    out.Change("DET_FOL", recno, fields);
  }

  void AddGuestFolio(xbtool::DemoWriter& out) {
    const char* folio = "900001";
    // Lines without group, in consecutive order.
    AddLine(out, folio, "0001", "",
            {{"FECHA_O", Day(March(5))},
             {"COD_TRANS", Text("HB")},
             {"DOCUMEN", Text("F-0001")},
             {"COMENTA", Text("Noche 1")},
             {"DEBITO", Number(85000)}});
    AddLine(out, folio, "0002", "",
            {{"COD_TRANS", Text("HB")}, {"VOID", Number(1)}, {"DEBITO", Number(999)}});
    AddLine(out, folio, "0003", "",
            {{"COD_TRANS", Text("PT")},
             {"PAGO", Number(1)},
             {"DOCUMEN", Text(" 4111111111111234 ")},
             {"COMENTA", Text("Abono")},
             {"CREDITO", Number(1234567.5)}});
    // No date, another room of origin, a code without description, a negative amount.
    AddLine(out, folio, "0004", "",
            {{"FECHA_O", Day(0)},
             {"HAB_ORIGEN", Text(" 305")},
             {"COD_TRANS", Text("XX")},
             {"COMENTA", Text("Ajuste d'Ana & c\xED"
                              "a")},
             {"DEBITO", Number(-234.5)}});
    // A room-service posting: the charge and its two taxes.
    AddLine(out, folio, "0005", "0003",
            {{"COD_TRANS", Text("RS")},
             {"COD_TRAN", Text("RS")},
             {"DOCUMEN", Text("RS-77")},
             {"COMENTA", Text("Orden de servicio")},
             {"DEBITO", Number(25)}});
    AddLine(out, folio, "0006", "0003",
            {{"COD_TRANS", Text("IV")}, {"COD_TRAN", Text("RS")}, {"DEBITO", Number(2.5)}});
    AddLine(out, folio, "0007", "0003",
            {{"COD_TRANS", Text("SS")}, {"COD_TRAN", Text("RS")}, {"DEBITO", Number(0.25)}});
    // A group opened by a voided line: the next line opens it, the voided one after it counts.
    AddLine(out, folio, "0008", "0004",
            {{"COD_TRANS", Text("RS")},
             {"COD_TRAN", Text("RS")},
             {"ANULA", Number(1)},
             {"COMENTA", Text("Anulado")},
             {"DEBITO", Number(10)}});
    AddLine(out, folio, "0009", "0004",
            {{"FECHA_O", Day(0)},
             {"CIERRE_DIA", Day(March(4))},
             {"COD_TRANS", Text("HB")},
             {"COD_RACK", Text("BAR")},
             {"COMENTA", Text("Noche extra")},
             {"DEBITO", Number(20)}});
    AddLine(out, folio, "000A", "0004",
            {{"COD_TRANS", Text("IV")}, {"VOID", Number(1)}, {"DEBITO", Number(5)}});
    // A group of one voided line gives no entry.
    AddLine(out, folio, "000B", "0005",
            {{"COD_TRANS", Text("RS")}, {"VOID", Number(1)}, {"DEBITO", Number(7)}});
  }

  // Amounts in colones; the dollar stands at 508.75 on the business date.
  void AddConvertedFolio(xbtool::DemoWriter& out) {
    const char* folio = "900002";
    AddLine(out, folio, "0001", "",
            {{"COD_TRANS", Text("HB")}, {"COMENTA", Text("Noche")}, {"DEBITO", Number(50875)}});
    // Posted at a rate of its own.
    AddLine(out, folio, "0002", "",
            {{"COD_TRANS", Text("RS")},
             {"COMENTA", Text("Propio")},
             {"T_CAMBIO", Number(500)},
             {"DEBITO", Number(10175)}});
    // A group whose second line has no rate.
    AddLine(out, folio, "0003", "0001",
            {{"COD_TRANS", Text("RS")},
             {"COD_TRAN", Text("RS")},
             {"COMENTA", Text("Grupo")},
             {"DEBITO", Number(2035)}});
    AddLine(out, folio, "0004", "0001",
            {{"COD_TRANS", Text("IV")},
             {"COD_TRAN", Text("RS")},
             {"T_CAMBIO", Number(0)},
             {"DEBITO", Number(508.75)}});
  }
};

TEST_F(GetStatementTest, TheStatementOfAStayIsAnsweredWhole) {
  const std::string body =
      "<ZIRUVUZ>\r\n"
      "<STATEMENT>\r\n"
      "<MOVEMENTS>\r\n"
      "<ENTRY COMMENT=\"F-0001 Noche 1\" CREDIT=\"0.00\" DATE=\"05/MAR/2024\" "
      "DEBIT=\"85,000.00\" DOCUMENT=\"(310) HB\" TRANSACTION=\"Hospedaje\"/>\r\n"
      "<ENTRY COMMENT=\"************1234 Abono\" CREDIT=\"1,234,567.50\" DATE=\"06/MAR/2024\" "
      "DEBIT=\"0.00\" DOCUMENT=\"(310) PT\" TRANSACTION=\"Pago con tarjeta\"/>\r\n"
      "<ENTRY COMMENT=\"Ajuste d apos;Ana  amp; cia\" CREDIT=\"0.00\" DATE=\"00/00/0000\" "
      "DEBIT=\"-234.50\" DOCUMENT=\"(305) XX\" TRANSACTION=\"\"/>\r\n"
      "<ENTRY COMMENT=\"RS-77 Orden de servicio\" CREDIT=\"0.00\" DATE=\"06/MAR/2024\" "
      "DEBIT=\"27.75\" DOCUMENT=\"(310) TRS\" TRANSACTION=\"Servicio a la habitacion\"/>\r\n"
      "<ENTRY COMMENT=\"Noche extra\" CREDIT=\"0.00\" DATE=\"04/MAR/2024\" "
      "DEBIT=\"25.00\" DOCUMENT=\"(310) RBAR\" TRANSACTION=\"Tarifa rack\"/>\r\n"
      "<ENTRY COMMENT=\"Noche\" CREDIT=\"0.00\" DATE=\"06/MAR/2024\" "
      "DEBIT=\"100.00\" DOCUMENT=\"(310) HB\" TRANSACTION=\"Hospedaje\"/>\r\n"
      "<ENTRY COMMENT=\"Propio\" CREDIT=\"0.00\" DATE=\"06/MAR/2024\" "
      "DEBIT=\"20.00\" DOCUMENT=\"(310) RS\" TRANSACTION=\"Servicio a la habitacion\"/>\r\n"
      "<ENTRY COMMENT=\"Grupo\" CREDIT=\"0.00\" DATE=\"06/MAR/2024\" "
      "DEBIT=\"5.00\" DOCUMENT=\"(310) TRS\" TRANSACTION=\"Servicio a la habitacion\"/>\r\n"
      "</MOVEMENTS>\r\n"
      "<ROOM_INFORMATION Name=\"Inigo Perez\" Room=\"310\"/>\r\n"
      "</STATEMENT>\r\n"
      "</ZIRUVUZ>\r\n";
  const std::string expected =
      "POST /interface/xxxxx HTTP/1.1\r\n"
      "Host: www.opentravel.org\r\n"
      "Content-Type: text/xml encoding='UTF-8'; charset=utf-8\r\n"
      "Content-Length: 1445\r\n"
      "\r\n"
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
      "<soap:Header>\r\n"
      "</soap:Header>\r\n"
      "<soap:Body>\r\n" +
      body +
      "</soap:Body>\r\n"
      "</soap:Envelope>\r\n";
  EXPECT_EQ(Process(RoomRequest(" 310 ")), expected);
}

TEST_F(GetStatementTest, ConvertedAmountsAreDividedByTheFolioOrTheLineRate) {
  const struct {
    const char* name;
    int lines_keep_own_rate;
    const char* reservation_currency;
    const char* debits;  // of the converted folio's three entries
  } cases[] = {
      {"the folio's rate", 0, "02", "100.00 20.00 5.00"},
      {"lines keep their own rate, a line without one shows nothing", 1, "02", "100.00 20.35 4.00"},
      {"no rate for the currencies", 0, "03", "0.00 0.00 0.00"},
      {"no rate for the currencies, lines keep their own", 1, "03", "0.00 20.35 0.00"},
  };
  for (const auto& c : cases) {
    SetProperty(c.lines_keep_own_rate, c.reservation_currency);
    const std::string body = BodyOf(Process(RoomRequest("310")));
    std::string debits;
    for (const char* comment : {"\"Noche\"", "\"Propio\"", "\"Grupo\""}) {
      const size_t entry = body.find("COMMENT=" + std::string(comment));
      const size_t debit = body.find("DEBIT=\"", entry) + 7;
      if (!debits.empty()) debits += ' ';
      debits += entry == std::string::npos ? "missing"
                                           : body.substr(debit, body.find('"', debit) - debit);
    }
    EXPECT_EQ(debits, c.debits) << c.name;
    // The folio at rate 1 is not touched by the rate.
    EXPECT_NE(body.find("DEBIT=\"85,000.00\""), std::string::npos) << c.name;
  }
}

TEST_F(GetStatementTest, AStayWithoutFoliosHasNoMovements) {
  // Room 106: the demo's stay without a folio.
  EXPECT_EQ(BodyOf(Process(RoomRequest("106"))),
            "<ZIRUVUZ>\r\n"
            "<STATEMENT>\r\n"
            "<MOVEMENTS/>\r\n"
            "<ROOM_INFORMATION Name=\"Lucia Leon\" Room=\"106\"/>\r\n"
            "</STATEMENT>\r\n"
            "</ZIRUVUZ>\r\n");
}

TEST_F(GetStatementTest, FaultsAreAnsweredWithTheirErrorReplies) {
  const struct {
    std::string actions;
    const char* error;
  } cases[] = {
      {"", "No Room"},
      {"<Room></Room>", "Bad Room: Empty"},
      {"<Room/>", "Bad Room: Empty"},
      {"<Room> 999 </Room>", "ROOM 999 not registered"},
      {"<Room>214</Room>", "ROOM 214 not registered"},  // arrives next week
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BodyOf(Process(StatementRequest(c.actions))),
              "<ZIRUVUZ><ERROR>" + std::string(c.error) + "</ERROR></ZIRUVUZ>\r\n")
        << c.actions;
  }
}

TEST_F(GetStatementTest, AStayGoneSinceItWasFoundGivesAnEmptyStatement) {
  // A folio header whose stay fields are blank must not pass for the missing stay's.
  ChangeTables([&](xbtool::DemoWriter& out) {
    out.Add("ENC_FOL",
            {{"NEGOCIO", Text(kBusiness)}, {"NUMERO", Text("900009")}, {"CTA_MAES", Number(0)}});
    out.Add("DET_FOL", {{"NEGOCIO", Text(kBusiness)},
                        {"NUMERO", Text("900009")},
                        {"COD_TRANS", Text("HB")},
                        {"DEBITO", Number(1)}});
  });
  EXPECT_EQ(IMP_CTA("HTL01          ", "399            ", "01"),
            "<ZIRUVUZ>\r\n"
            "<STATEMENT>\r\n"
            "<MOVEMENTS/>\r\n"
            "<ROOM_INFORMATION Name=\"\" Room=\"399\"/>\r\n"
            "</STATEMENT>\r\n"
            "</ZIRUVUZ>\r\n");
}

TEST_F(GetStatementTest, AMissingTableIsReportedAndLeavesNoTableOpen) {
  std::filesystem::remove(dir_.File("BASES") + "/DET_FOL.DBF");
  const int free_area = data::LowestFreeArea();
  EXPECT_THROW(Process(RoomRequest("310")), data::DataError);
  EXPECT_EQ(data::LowestFreeArea(), free_area);
  // The statement found the stay on the exchange's own stay cursor and left it selected.
  EXPECT_EQ(data::SelectedArea(), tables_.DET_RES2->Area);
}

}  // namespace
