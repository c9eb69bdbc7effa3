// The site tables that the frame, the toolbar, the dialog log and the error handler read or write.
// Their optional fields are looked up by name before they are read.
#include "lib/data/schema/field_helpers.h"

namespace schema {
namespace {

std::vector<FieldDef> SystemSettingsFields() {
  std::vector<FieldDef> fields = {
      Typed("T_FONT", 'C', 30),       Optional("T_SIZE", 'N', 3),     Optional("P_FONT", 'C', 30),
      Optional("D_FONT", 'C', 30),    Optional("FIESTA1", 'N', 5),    Optional("NO_DATE", 'N', 1),
      Optional("REFRESH_B", 'N', 1),  Optional("WS_SOCKET", 'N', 5),  Typed("MAXCOMMIT", 'N', 5),
      Typed("GRAYED", 'N', 1),        Optional("MULTITASK", 'N', 3),  Optional("DLGSIZE", 'N', 3),
      Optional("DGROUP", 'N', 6),     Optional("NOFLATBUTT", 'N', 1), Optional("NO_SIM_P", 'N', 1),
      Optional("LOCAL_TEMP", 'N', 1), Optional("LOCAL_PATH", 'C', 60)};
  static const char* const kColours[] = {"RGB1", "RGB2", "RGB3", "RGB4",  "RGB5",  "RGB6",
                                         "RGB7", "RGB8", "RGB9", "RGB10", "RGB11", "RGB12"};
  for (const char* colour : kColours) fields.push_back(Optional(colour, 'N', 3));
  fields.push_back(Optional("MAXTIMEOUT", 'N', 4));
  fields.push_back(Optional("NO_TIMEOUT", 'N', 1));
  return fields;
}

}  // namespace

std::vector<TableLayout> SiteLayouts() {
  const FieldDef user = Typed("USUARIO", 'C', kUserAbbreviationWidth);
  const FieldDef info_user = Typed("INFO_USER", 'C', kInfoUserWidth);
  return {
      {"DEFMAIL",
       {Business("NEGOCIO_H"), Optional("SMTP_PORT", 'N', 5), Optional("POP3_PORT", 'N', 5),
        Optional("HOST", 'C', 60), Optional("USERNAME", 'C', 40), Optional("USERADDR", 'C', 60),
        Optional("ID_NAME", 'C', 40), Optional("DESTINO", 'C', 60), Optional("SENDMAIL", 'N', 1),
        Optional("AUTORIZA", 'N', 1), Optional("AUTH_USER", 'C', 40),
        Optional("AUTH_PASS", 'C', 40), Optional("CC_CONF1", 'C', 60),
        Optional("CC_CONF2", 'C', 60)},
       {Tag("DEFMAIL", "NEGOCIO_H")}},
      {"F_SYS", SystemSettingsFields(), {Tag("F_SYS", "T_FONT")}},
      {"FONTS", {Typed("T_FONT", 'C', 30)}, {Tag("FONTS", "T_FONT")}},
      {"DUMMYADS", {Typed("DUMMY", 'C', 1)}, {Tag("DUMMYADS", "DUMMY")}},
      {"LOG_DIAG",
       {Business(), Typed("ID_DIAG", 'N', 6), user, info_user, Typed("DIALOGO", 'C', 20),
        Date("FECHA"), Time(), Typed("MODULO", 'C', 3)},
       {Tag("LOG_DIA2", "DTOS(FECHA)+HORA")}},
      {"ERROR",
       {Date("FECHA"), Time(), Typed("DESCRIP", 'C', 254), Memo("DETALLE")},
       {Tag("ERROR", "DTOS(FECHA)+HORA")}},
      {"E_MSGS",
       {Date("FECHA"), Time(), Typed("TO_USER", 'C', 60), Typed("SUBJECT", 'C', 80), Memo("BODY"),
        Typed("USERNAME", 'C', 40), Typed("USERADDR", 'C', 60), Flag("ENVIADO"), Flag("LISTO")},
       {Tag("E_MSGS", "DTOS(FECHA)+HORA")}},
      {"LOG_E_S",
       {Business(), user, Date("FECHA"), Time(), Date("FECHA_SAL"), Time("HORA_SAL"),
        Optional("DESC_ERR", 'M', 10), Optional("ERR_CHECK", 'C', 1)},
       {Tag("LOG_E_S", "DTOS(FECHA)+HORA")}},
      {"LOG_ROLL",
       {Business(), Date("FECHA"), Time(), user, info_user, Typed("MOTIVO", 'C', 254),
        Typed("TRANS_ID", 'N', 4)},
       {Tag("LOG_ROLL", "DTOS(FECHA)+HORA")}},
      {"USUARIOS",
       {Business(), Typed("NOMBRE", 'C', 10), Typed("PASSWORD", 'C', 10), Flag("ADASIPA"),
        Flag("SUPERVISOR"), Typed("CODIGO", 'N', 4),
        Optional("ABREVIA", 'C', kUserAbbreviationWidth), Optional("IDIOMA", 'N', 1),
        Optional("F_CLAVE", 'D', 8), Optional("NO_SALIR", 'N', 1), Optional("SUBBASE", 'C', 2),
        Optional("NO_CHAT", 'N', 1), Optional("BLOQUEADO", 'N', 1),
        Optional("INFO_BLOQ", 'C', kInfoUserWidth), Optional("DIAS_CLAVE", 'N', 4),
        Optional("PERMISO1", 'N', 1), Optional("BUTTONSTYL", 'N', 1)},
       {Tag("USUARIOS", "NEGOCIO+NOMBRE"), Tag("USUARIO3", "NEGOCIO+STR(CODIGO,4)")}},
      {"MENUS",
       {Business(), Typed("USUARIO", 'N', 8), Typed("ID_MENU", 'N', 8), Typed("CHECK_ID", 'L', 1)},
       {Tag("MENUS", "NEGOCIO+STR(USUARIO,8)+STR(ID_MENU,8)")}},
      {"SUBBASES",
       {Typed("CODIGO", 'C', 2), Typed("DIRECTORIO", 'C', 40)},
       {Tag("SUBBASES", "CODIGO")}},
      {"MONEDAS",
       {Business(), Currency(), Typed("DESCRIP", 'C', 30)},
       {Tag("MONEDAS", "NEGOCIO+MONEDA")}},
      {"TRADUCT",
       {Business(), Typed("SEQUENCE1", 'C', 60), Typed("SEQUENCE2", 'C', 60),
        Optional("INCRUSTADO", 'N', 1)},
       {Tag("TRADUCT", "NEGOCIO")}},
      {"F_INV", {Business(), Optional("PREC_AUTO", 'N', 1)}, {Tag("F_INV", "NEGOCIO")}},
      // Pending headers (PENDIENTE 1) of a business come first after NEGOCIO + "1".
      {"ENC_PPRE",
       {Business(), Typed("CODIGO", 'C', 10), Typed("T_PRECIO", 'C', 2), Flag("PENDIENTE"),
        Date("F_APLICA"), Time("H_APLICA"), Date("F_PROCESA"), Time("H_PROCESA")},
       {Tag("ENC_PPRE", "NEGOCIO+CODIGO"),
        Tag("ENC_PPR2", "NEGOCIO+STR(PENDIENTE,1)+DTOS(F_APLICA)+H_APLICA")}},
      {"DET_PPRE",
       {Business(), Typed("CODIGO", 'C', 10), Typed("ARTICULO", 'C', 15),
        Typed("PRECIO", 'N', 14, 2)},
       {Tag("DET_PPRE", "NEGOCIO+CODIGO+ARTICULO")}},
      {"DET_PREC",
       {Business(), Typed("T_PRECIO", 'C', 2), Typed("ARTICULO", 'C', 15),
        Typed("PRECIO", 'N', 14, 2)},
       {Tag("DET_PRC1", "NEGOCIO+T_PRECIO+ARTICULO")}},
  };
}

}  // namespace schema
