// The demo's guests: reservations, in-house stays (one per room) and their folios with room
// charges, taxes, a room-service order, payments and voided lines.
#include <cstdio>
#include <string>

#include "lib/data/consecutive.h"
#include "tools/xbtool/demo_writer.h"

namespace xbtool {
namespace {

// Names in the suite's 8-bit character set (Windows-1252), some with accents.
const char* const kFirstNames[] = {"Jos\xE9",
                                   "Mar\xED"
                                   "a",
                                   "Luis",
                                   "Ana",
                                   "Andr\xE9s",
                                   "Luc\xED"
                                   "a",
                                   "Carlos",
                                   "Elena",
                                   "Jorge",
                                   "Sof\xED"
                                   "a",
                                   "Ram\xF3n",
                                   "Isabel",
                                   "Tom\xE1s",
                                   "Patricia",
                                   "Miguel",
                                   "Luc\xE9",
                                   "Peter",
                                   "Ingrid",
                                   "Fran\xE7ois",
                                   "Bj\xF6rn"};
const char* const kSurnames[] = {"Mu\xF1oz",
                                 "Pe\xF1"
                                 "a",
                                 "Rodr\xEDguez",
                                 "Jim\xE9nez",
                                 "Garc\xED"
                                 "a",
                                 "Hern\xE1ndez",
                                 "Castro",
                                 "Vargas",
                                 "Sol\xEDs",
                                 "Alfaro",
                                 "M\xFCller",
                                 "Dubois",
                                 "Smith",
                                 "Quir\xF3s",
                                 "Ure\xF1"
                                 "a",
                                 "Brenes",
                                 "Chac\xF3n",
                                 "Le\xF3n"};

const char* const kPlans[] = {"BAR", "COR", "PAQ"};
const double kNightlyRate[] = {85000, 65000, 120000};  // colones
constexpr double kSalesTax = 0.13;
constexpr double kServiceCharge = 0.10;

struct Stay {
  std::string business;
  std::string reservation;
  std::string line;  // CODIGO of the room line, "001"...
  std::string room;
  int plan = 0;
  int nights_so_far = 1;
};

std::string Padded(int n, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*d", width, n);
  return text;
}

// Posts folio lines and keeps the folio's running consecutive and group.
class FolioPoster {
 public:
  FolioPoster(DemoWriter& out, const Stay& stay, std::string number, int64_t today)
      : out_(out), stay_(stay), number_(std::move(number)), today_(today) {}

  void RoomCharges(double rate) {
    for (int night = stay_.nights_so_far; night >= 1; --night) {
      const int64_t day = today_ - night;
      Line(day, "HB", "", rate, 0, false, "",
           "Noche " + std::to_string(stay_.nights_so_far - night + 1));
      Tax(day, "IV", "HB", rate * kSalesTax);
      Tax(day, "SS", "HB", rate * kServiceCharge);
      NextGroup();
    }
  }
  uint32_t RoomService(double amount, const std::string& order) {
    uint32_t line = Line(today_, "RS", "RS", amount, 0, false, order, "Orden de servicio");
    Tax(today_, "IV", "RS", amount * kSalesTax);
    Tax(today_, "SS", "RS", amount * kServiceCharge);
    const char* const items[][2] = {{"Club sandwich", "2"}, {"Jugo de naranja natural", "2"}};
    for (const auto& item : items) {
      out_.Add("DET_FOL2", {{"NEGOCIO", Text(stay_.business)},
                            {"NUMERO", Text(number_)},
                            {"CONSECUT", Text(first_of_group_)},
                            {"GRUPO", Text(group_)},
                            {"COD_TRANS", Text("RS")},
                            {"DESCRIP", Text(item[0])},
                            {"CANTIDAD", Number(std::stod(item[1]))},
                            {"PRECIO", Number(amount / 4)}});
    }
    NextGroup();
    return line;
  }
  void CardPayment(double amount, const std::string& card) {
    Line(today_, "PT", "PT", amount, 1, true, card, "Abono con tarjeta");
    NextGroup();
  }
  void VoidedCharge(double amount) {
    uint32_t line = Line(today_ - 1, "RS", "RS", amount, 0, false, "A-0001", "Cargo anulado");
    out_.Change("DET_FOL", line, {{"VOID", Number(1)}, {"ANULA", Number(1)}});
    NextGroup();
  }
  const std::string& consecutive() const { return consecutive_; }
  const std::string& group() const { return group_; }

 private:
  uint32_t Line(int64_t day, const char* transaction, const char* origin, double amount, int paid,
                bool credit, const std::string& document, const std::string& comment) {
    if (first_of_group_.empty()) first_of_group_ = consecutive_;
    uint32_t recno = out_.Add("DET_FOL", {{"NEGOCIO", Text(stay_.business)},
                                          {"NUMERO", Text(number_)},
                                          {"ROOM", Text(stay_.room)},
                                          {"HAB_ORIGEN", Text(stay_.room)},
                                          {"FECHA", Day(day)},
                                          {"HORA", Text("23:05:00")},
                                          {"CIERRE_DIA", Day(day)},
                                          {"FECHA_O", Day(day)},
                                          {"COD_TRANS", Text(transaction)},
                                          {"COD_TRAN", Text(origin)},
                                          {"COD_RACK", Text(kPlans[stay_.plan])},
                                          {"GRUPO", Text(group_)},
                                          {"CONSECUT", Text(consecutive_)},
                                          {"DOCUMEN", Text(document)},
                                          {"COMENTA", Text(comment)},
                                          {"PAGO", Number(paid)},
                                          {"VOID", Number(0)},
                                          {"ANULA", Number(0)},
                                          {"SI_IMP", Number(0)},
                                          {"MONEDA", Text("01")},
                                          {"T_CAMBIO", Number(1)},
                                          {"DEBITO", Number(credit ? 0 : amount)},
                                          {"CREDITO", Number(credit ? amount : 0)},
                                          {"USUARIO", Text("REC")}});
    consecutive_ = data::NextConsecutive(consecutive_);
    return recno;
  }
  void Tax(int64_t day, const char* transaction, const char* origin, double amount) {
    uint32_t recno = Line(day, transaction, origin, amount, 0, false, "", "");
    out_.Change("DET_FOL", recno,
                {{"SI_IMP", Number(1)},
                 {"ODEBITO", Number(amount)},
                 {"OCREDITO", Number(0)},
                 {"OMONEDA", Text("01")},
                 {"OCAMBIO", Number(1)}});
  }
  void NextGroup() {
    group_ = Padded(std::stoi(group_) + 1, 4);
    first_of_group_.clear();
  }

  DemoWriter& out_;
  const Stay& stay_;
  std::string number_;
  int64_t today_;
  std::string consecutive_ = "0001";
  std::string group_ = "0001";
  std::string first_of_group_;
};

struct FolioOptions {
  int principal = 1;
  const char* currency = "";
  int blocked = 0;
  int stated_converted = 0;
};

uint32_t AddFolio(DemoWriter& out, const Stay& stay, const std::string& number,
                  const FolioOptions& options) {
  return out.Add("ENC_FOL", {{"NEGOCIO", Text(stay.business)},
                             {"NUMERO", Text(number)},
                             {"COD_RES", Text(stay.reservation)},
                             {"ROOM", Text(stay.room)},
                             {"COD_HAB", Text("H" + stay.line)},
                             {"CODIGO", Text(stay.line)},
                             {"CTA_MAES", Number(0)},
                             {"PRINCIPAL", Number(options.principal)},
                             {"MONEDA", Text(options.currency)},
                             {"CONSECUT", Text("0001")},
                             {"GRUPO", Text("0001")},
                             {"BLOQUEADO", Number(options.blocked)},
                             {"FACTURA_E", Number(options.stated_converted)}});
}

uint32_t AddStayRecord(DemoWriter& out, const Stay& stay, int guest, int64_t today, int state) {
  std::string first = kFirstNames[guest % std::size(kFirstNames)];
  std::string last = kSurnames[(guest * 7) % std::size(kSurnames)];
  return out.Add("DET_RES2",
                 {{"NEGOCIO", Text(stay.business)},
                  {"COD_RES", Text(stay.reservation)},
                  {"COD_HAB", Text("H" + stay.line)},
                  {"CODIGO", Text(stay.line)},
                  {"COD_ROOMS", Text(stay.room)},
                  {"NOMBRE", Text(first)},
                  {"APELLIDO1", Text(last)},
                  {"NOMBRE_C", Text(first + " " + last)},
                  {"EMAIL", Text("huesped" + std::to_string(guest) + "@correo.example")},
                  {"N_ADULT", Number(1 + guest % 3)},
                  {"N_NINHO", Number(guest % 4 == 0 ? 2 : 0)},
                  {"F_INICIO", Day(today - stay.nights_so_far)},
                  {"F_FINAL", Day(today + 1 + guest % 5)},
                  {"ESTADO", Number(state)}});
}

}  // namespace

void AddDemoStaysAndFolios(DemoWriter& out, int64_t today) {
  struct PropertyRooms {
    const char* business;
    int in_house;
    std::vector<std::string> rooms;
  };
  std::vector<PropertyRooms> properties = {{"HTL01", 28, {}}, {"HTL02", 12, {}}};
  for (int floor = 1; floor <= 3; ++floor) {
    for (int n = 1; n <= 15; ++n) properties[0].rooms.push_back(std::to_string(floor * 100 + n));
  }
  for (int n = 1; n <= 15; ++n) properties[1].rooms.push_back("C" + Padded(n, 2));

  int guest = 0;
  for (PropertyRooms& property : properties) {
    int reservation = 0, folio = 100000;
    for (int r = 0; r < property.in_house; ++r) {
      // The first reservation of each property takes three rooms, the second two.
      int line = 1;
      if (!(r == 1 || r == 2 || r == 4)) ++reservation;
      if (r == 1 || r == 2) line = r + 1;
      if (r == 4) line = 2;
      Stay stay{property.business,
                "R" + Padded(reservation, 5),
                Padded(line, 3),
                property.rooms[r],
                r % 3,
                1 + r % 4};
      if (line == 1) {
        out.Add("ENC_RES", {{"NEGOCIO", Text(stay.business)},
                            {"CODIGO", Text(stay.reservation)},
                            {"COD_RACK", Text(kPlans[stay.plan])}});
      }
      AddStayRecord(out, stay, guest++, today, 1);
      if (r == 5) continue;  // a stay without a folio
      FolioOptions options;
      if (r == 6) options.blocked = 1;
      if (r == 8 && std::string(property.business) == "HTL01") options.currency = "02";
      if (r == 9) options.stated_converted = 1;
      const std::string number = std::to_string(++folio);
      uint32_t header = AddFolio(out, stay, number, options);
      FolioPoster poster(out, stay, number, today);
      double rate = options.currency[0] ? kNightlyRate[stay.plan] / 500 : kNightlyRate[stay.plan];
      poster.RoomCharges(rate);
      if (r % 4 == 0) poster.RoomService(rate / 10, "RS-" + std::to_string(1000 + r));
      if (r % 5 == 0) poster.CardPayment(rate, "4111 1111 1111 " + Padded(1000 + r, 4));
      if (r == 3) poster.VoidedCharge(rate / 8);
      out.Change("ENC_FOL", header,
                 {{"CONSECUT", Text(poster.consecutive())}, {"GRUPO", Text(poster.group())}});
      if (r == 7) {  // a second, secondary folio for the same stay (extras)
        const std::string extra = std::to_string(++folio);
        FolioOptions secondary;
        secondary.principal = 0;
        uint32_t extra_header = AddFolio(out, stay, extra, secondary);
        FolioPoster extras(out, stay, extra, today);
        extras.RoomService(18000, "RS-EXTRA");
        out.Change("ENC_FOL", extra_header,
                   {{"CONSECUT", Text(extras.consecutive())}, {"GRUPO", Text(extras.group())}});
      }
    }
    // Arrivals of next week (not in house yet) and one cancelled stay, flagged deleted.
    for (int k = 0; k < 3; ++k) {
      Stay future{property.business,
                  "R" + Padded(++reservation, 5),
                  "001",
                  property.rooms[property.in_house + k],
                  k % 3,
                  -7};
      out.Add("ENC_RES", {{"NEGOCIO", Text(future.business)},
                          {"CODIGO", Text(future.reservation)},
                          {"COD_RACK", Text(kPlans[future.plan])}});
      AddStayRecord(out, future, guest++, today, 0);
    }
    Stay cancelled{property.business,
                   "R" + Padded(++reservation, 5),
                   "001",
                   property.rooms[property.in_house],
                   0,
                   -3};
    out.Delete("DET_RES2", AddStayRecord(out, cancelled, guest++, today, 0));
  }
}

}  // namespace xbtool
