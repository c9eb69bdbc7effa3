#include "lib/data/schema/layout.h"

#include "platform/xbase/case_table.h"

namespace schema {

const std::vector<TableLayout>& Layouts() {
  static const std::vector<TableLayout> layouts = [] {
    std::vector<TableLayout> all = HotelLayouts();
    for (TableLayout& layout : SiteLayouts()) all.push_back(std::move(layout));
    return all;
  }();
  return layouts;
}

const TableLayout* FindLayout(std::string_view name) {
  const std::string wanted = xbase::UpperCase(name);
  for (const TableLayout& layout : Layouts()) {
    if (layout.name == wanted) return &layout;
  }
  return nullptr;
}

xbase::Schema FieldsOf(const TableLayout& layout) {
  xbase::Schema fields;
  for (const FieldDef& def : layout.fields) {
    xbase::FieldInfo field;
    field.name = def.name;
    field.type = def.type;
    field.length = def.length;
    field.decimals = def.decimals;
    fields.push_back(field);
  }
  return fields;
}

void CreateFromLayout(const std::string& folder, const TableLayout& layout) {
  xbase::CreateTable(folder + "/" + layout.name + ".DBF", FieldsOf(layout), layout.tags);
}

}  // namespace schema
