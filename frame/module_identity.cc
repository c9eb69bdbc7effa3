#include "frame/module_identity.h"

#include <iterator>

namespace frame {
namespace {

// One row per module of the suite, compared in this order.
constexpr ModuleIdentity kModules[] = {
    // Front office.
    {"RECEPCION", "Recepci\xF3n", "REC", true, 2},
    {"RESERVAS", "Reservaciones", "RES", true, 2},
    {"GRUPOS", "Grupos y Convenciones", "GRP", true, 2},
    {"AMA_LLAVES", "Ama de Llaves", "AML", true, 3},
    {"MANTENIM", "Mantenimiento", "MAN", true, 3},
    {"CAJAS_FO", "Cajas de Recepci\xF3n", "CAF", true, 2},
    {"AUDITORIA",
     "Auditor\xED"
     "a Nocturna",
     "AUD", true, 2},
    {"CONSERJE",
     "Conserjer\xED"
     "a",
     "CON", true, 2},
    {"CENTRAL_R", "Central de Reservaciones", "CRS", true, 2},
    {"TIEMPO_C", "Tiempo Compartido", "TCO", true, 4},
    {"CLUB_VAC", "Club Vacacional", "CLV", true, 4},
    {"SPA", "Spa y Actividades", "SPA", true, 5},
    // Point of sale.
    {"PUNTO_VTA", "Punto de Venta", "POS", true, 6},
    {"RESTAURAN", "Restaurantes", "RST", true, 6},
    {"BARES", "Bares", "BAR", true, 6},
    {"BANQUETES", "Banquetes", "BAN", true, 6},
    {"TIENDAS", "Tiendas", "TIE", true, 6},
    {"COMANDAS", "Monitor de Comandas", "KDS", true, 6},
    {"MINIBAR", "Minibares", "MIN", true, 6},
    // Back office.
    {"CONTABILID", "Contabilidad General", "CTB", true, 7},
    {"CXC", "Cuentas por Cobrar", "CXC", true, 7},
    {"CXP", "Cuentas por Pagar", "CXP", true, 7},
    {"BANCOS", "Bancos", "BCO", true, 7},
    {"ACT_FIJOS", "Activos Fijos", "ACF", true, 7},
    {"PLANILLAS", "Planillas", "PLA", true, 8},
    {"PERSONAL", "Recursos Humanos", "RRH", true, 8},
    {"INVENTARIO", "Inventarios", "INV", true, 9},
    {"COMPRAS", "Compras", "COM", true, 9},
    {"COSTOS", "Costos de Alimentos y Bebidas", "CAB", true, 9},
    {"PRESUPUES", "Presupuestos", "PRE", true, 7},
    {"FACT_ELEC", "Facturaci\xF3n Electr\xF3nica", "FEL", true, 10},
    {"ESTADIST", "Estad\xEDsticas", "EST", true, 11},
    {"GERENCIA", "Informaci\xF3n Gerencial", "GER", true, 11},
    {"MERCADEO", "Mercadeo y Ventas", "MER", true, 11},
    {"SEGURIDAD", "Usuarios y Derechos", "SEG", true, 12},
    {"PARAMETROS", "Par\xE1metros del Sistema", "PAR", true, 12},
    {"RESPALDOS", "Respaldos", "RSP", true, 12},
    // Telephony and devices.
    {"TARIFICAD", "Tarificador Telef\xF3nico", "TEL", false, 13},
    {"CENTRAL_T", "Interfaz Central Telef\xF3nica", "PBX", false, 13},
    {"LLAVES_EL", "Interfaz Llaves Electr\xF3nicas", "LLA", false, 14},
    {"TV_PAGO", "Interfaz Televisi\xF3n", "TVP", false, 14},
    {"ENERGIA",
     "Interfaz Control de Energ\xED"
     "a",
     "ENE", false, 14},
    {"DATAFONOS", "Interfaz Datafonos", "DAT", false, 14},
    // Mail and messaging.
    {"CORREO", "Correo Electr\xF3nico", "MAI", false, 15},
    {"MENSAJERIA",
     "Mensajer\xED"
     "a Interna",
     "MSG", true, 15},
    {"ALERTAS", "Alertas por Correo", "ALE", false, 15},
    // Interfaces with outside systems.
    {"EX_ZIRUVUZ", "Interfaz ZIRUVUZ", "REN", false, 0},
    {"EX_CHANNEL", "Interfaz Gestor de Canales", "REN", false, 16},
    {"EX_WEBRES", "Interfaz Reservas Web", "WEB", false, 16},
    {"EX_GDS", "Interfaz GDS", "GDS", false, 16},
    {"EX_REVENUE", "Interfaz Revenue Management", "RMS", false, 16},
    {"EX_CRM", "Interfaz CRM", "CRM", false, 17},
    {"EX_CONTAB", "Interfaz Contable Externa", "ECT", false, 17},
    {"EX_BANCOS", "Interfaz Bancaria", "EBC", false, 17},
    {"EX_MOVIL", "Interfaz Aplicaci\xF3n M\xF3vil", "MOV", false, 18},
    {"EX_KIOSKO", "Interfaz Kiosko de Registro", "KIO", false, 18},
    {"GETUP", "Actualizaci\xF3n de Estructuras", "GUP", false, 0},
};

}  // namespace

const ModuleIdentity* FindModuleIdentity(std::string_view id) {
  for (const ModuleIdentity& row : kModules) {
    if (id == row.id) return &row;
  }
  return nullptr;
}

int ModuleIdentityCount() { return static_cast<int>(std::size(kModules)); }

}  // namespace frame
