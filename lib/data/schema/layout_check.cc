#include "lib/data/schema/layout_check.h"

#include "lib/data/schema/layout.h"

namespace schema {
namespace {

std::string Describe(char type, int length, int decimals) {
  std::string text(1, type);
  if (type == 'C' || type == 'N') text += " " + std::to_string(length);
  if (decimals) text += "," + std::to_string(decimals);
  return text;
}

}  // namespace

std::string CheckLayout(std::string_view table, const xbase::Schema& fields) {
  const TableLayout* layout = FindLayout(table);
  if (!layout) return "";
  for (const FieldDef& def : layout->fields) {
    if (def.need == Need::kOptional) continue;
    int index = xbase::FindField(fields, def.name);
    const std::string expected = Describe(def.type, def.length, def.decimals);
    if (index < 0) {
      return "table " + layout->name + " lacks field " + def.name + " (" + expected + ")";
    }
    const xbase::FieldInfo& found = fields[index];
    bool numeric_alike = def.type == 'N' && (found.type == 'N' || found.type == 'F');
    bool width_ok = def.need != Need::kFixedWidth || found.length == def.length;
    if ((found.type != def.type && !numeric_alike) || !width_ok) {
      return "table " + layout->name + " has field " + def.name + " as " +
             Describe(found.type, found.length, found.decimals) + ", needs " + expected;
    }
  }
  return "";
}

}  // namespace schema
