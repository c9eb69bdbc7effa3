// The demo's settings: the two properties, interface and mail settings, users, transaction codes,
// currencies, exchange rates and rate plans.
#include "tools/xbtool/demo_writer.h"

namespace xbtool {
namespace {

constexpr int kDemoPort = 7100;  // documented in the README
constexpr int64_t kRateLimitDay =
    2484418;  // 1 January 2090, as the suite's rate maintenance writes

struct Property {
  const char* code;
  const char* name;
  int own_folio_currency;
};

const Property kProperties[] = {{"HTL01", "Hotel Playa Esmeralda", 1},
                                {"HTL02",
                                 "Hotel Monta\xF1"
                                 "a Azul",
                                 0}};

void AddProperties(DemoWriter& out, int64_t today) {
  for (const Property& p : kProperties) {
    out.Add("NEGOCIOS", {{"CODIGO", Text(p.code)},
                         {"DESCRIP", Text(p.name)},
                         {"MON_FOL", Number(p.own_folio_currency)},
                         {"MONEDA_CON", Text("01")},
                         {"LOGO", Text(std::string(p.code) + ".BMP")},
                         {"MANEJO_TC", Number(0)},
                         {"INTENTOS", Number(3)}});
    out.Add("F_HOTEL", {{"NEGOCIO", Text(p.code)},
                        {"CIERRE_DIA", Day(today)},
                        {"MONEDA_RES", Text("02")},
                        {"TCAMB_REP", Number(1)}});
    out.Add("F_HOTEL3", {{"NEGOCIO", Text(p.code)}, {"MANEJO_DOL", Number(0)}});
    out.Add("F_VENTAS", {{"NEGOCIO", Text(p.code)}, {"T_CAMBIO", Number(1)}});
    out.Add("F_INV", {{"NEGOCIO", Text(p.code)}});
    out.Add("MONEDAS",
            {{"NEGOCIO", Text(p.code)}, {"MONEDA", Text("01")}, {"DESCRIP", Text("Colones")}});
    out.Add("MONEDAS",
            {{"NEGOCIO", Text(p.code)}, {"MONEDA", Text("02")}, {"DESCRIP", Text("D\xF3lares")}});
  }
}

void AddTransactions(DemoWriter& out) {
  struct Transaction {
    const char* code;
    const char* name;
    int credit;
  };
  const Transaction transactions[] = {
      {"HB", "Hospedaje", 0},           {"RS", "Servicio a la habitaci\xF3n", 0},
      {"IV", "Impuesto de ventas", 0},  {"SS", "Cargo por servicio", 0},
      {"TU", "Impuesto de turismo", 0}, {"PT", "Pago con tarjeta", 1},
  };
  for (const Property& p : kProperties) {
    for (const Transaction& t : transactions) {
      out.Add("TRANSACS", {{"NEGOCIO", Text(p.code)},
                           {"CODIGO", Text(t.code)},
                           {"DESCRIP", Text(t.name)},
                           {"CREDITO", Number(t.credit)}});
    }
  }
}

// One dollar ("02") in colones ("01") over the last two months; the five columns differ a little.
void AddRates(DemoWriter& out, int64_t today) {
  struct Rate {
    int days_ago;
    double colones;
  };
  const Rate rates[] = {{60, 520.0}, {30, 515.5}, {7, 510.25}, {0, 508.75}};
  for (const Property& p : kProperties) {
    for (const Rate& r : rates) {
      out.Add("T_CAMBIO", {{"NEGOCIO", Text(p.code)},
                           {"MONEDA1", Text("02")},
                           {"MONEDA2", Text("01")},
                           {"FECHA", Day(today - r.days_ago)},
                           {"CAMBIO", Number(r.colones)},
                           {"CAMBIO2", Number(r.colones - 5)},
                           {"CAMBIO3", Number(r.colones + 5)},
                           {"CAMBIO4", Number(r.colones - 10)},
                           {"CAMBIO5", Number(r.colones + 10)},
                           {"LIMITE", Day(kRateLimitDay)},
                           {"USUARIO", Text("ADM")}});
    }
  }
}

void AddRatePlans(DemoWriter& out) {
  const char* const plans[][2] = {
      {"BAR", "Tarifa rack"}, {"COR", "Tarifa corporativa"}, {"PAQ", "Paquete todo incluido"}};
  for (const Property& p : kProperties) {
    for (const auto& plan : plans) {
      out.Add("ENC_RACK",
              {{"NEGOCIO", Text(p.code)}, {"CODIGO", Text(plan[0])}, {"DESCRIP", Text(plan[1])}});
    }
  }
}

void AddUsers(DemoWriter& out) {
  for (const Property& p : kProperties) {
    out.Add("U_DIZU",
            {{"NEGOCIO", Text(p.code)}, {"USUARIO", Text("ZIRUVUZ")}, {"PASS", Text("ZV-2024")}});
    out.Add("USUARIOS", {{"NEGOCIO", Text(p.code)},
                         {"NOMBRE", Text("ADMIN")},
                         {"PASSWORD", Text("ADMIN")},
                         {"ADASIPA", Number(0)},
                         {"SUPERVISOR", Number(1)},
                         {"CODIGO", Number(1)},
                         {"ABREVIA", Text("ADM")}});
    out.Add("USUARIOS", {{"NEGOCIO", Text(p.code)},
                         {"NOMBRE", Text("RECEPCION")},
                         {"PASSWORD", Text("RECEP1")},
                         {"ADASIPA", Number(0)},
                         {"SUPERVISOR", Number(0)},
                         {"CODIGO", Number(2)},
                         {"ABREVIA", Text("REC")}});
  }
  out.Add("U_DIZU",
          {{"NEGOCIO", Text("HTL01")}, {"USUARIO", Text("PRUEBAS")}, {"PASS", Text("PRUEBAS-1")}});
}

}  // namespace

void AddDemoSettings(DemoWriter& out, int64_t today) {
  AddProperties(out, today);
  AddTransactions(out);
  AddRates(out, today);
  AddRatePlans(out);
  AddUsers(out);
  out.Add("F_DIZU", {{"IP_ADDR", Text("127.0.0.1")},
                     {"IP_PORT", Number(kDemoPort)},
                     {"MONEDA", Text("01")},
                     {"CARGO_RS", Text("RS")},
                     {"TAX1", Text("IV")},
                     {"TAX2", Text("SS")},
                     {"TAX3", Text("TU")}});
  out.Add("DEFMAIL", {{"NEGOCIO_H", Text("HTL01")},
                      {"SMTP_PORT", Number(25)},
                      {"POP3_PORT", Number(110)},
                      {"HOST", Text("127.0.0.1")},
                      {"USERNAME", Text("Interfaz ZIRUVUZ")},
                      {"USERADDR", Text("interfaz@hotel.example")},
                      {"ID_NAME", Text("Hotel Playa Esmeralda")},
                      {"DESTINO", Text("soporte@hotel.example")},
                      {"SENDMAIL", Number(0)},
                      {"AUTORIZA", Number(0)}});
  out.Add("F_SYS", {{"T_FONT", Text("Arial")},
                    {"T_SIZE", Number(8)},
                    {"P_FONT", Text("Times New Roman")},
                    {"WS_SOCKET", Number(0)},
                    {"MAXCOMMIT", Number(50)},
                    {"GRAYED", Number(1)},
                    {"MULTITASK", Number(3)},
                    {"DGROUP", Number(0)},
                    {"MAXTIMEOUT", Number(0)}});
  for (const char* font : {"Arial", "Calibri", "Courier", "Tahoma", "Times New Roman"}) {
    out.Add("FONTS", {{"T_FONT", Text(font)}});
  }
  out.Add("DUMMYADS", {{"DUMMY", Text("X")}});
}

}  // namespace xbtool
