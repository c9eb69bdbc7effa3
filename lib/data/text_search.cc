#include "lib/data/text_search.h"

#include <utility>

#include "lib/data/text_fields.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/settings/settings.h"
#include "platform/xbase/case_table.h"
#include "platform/xbase/error.h"
#include "platform/xbase/table.h"

namespace data {
namespace {

constexpr size_t kNameWidth = 15;  // table names and document keys are compared on 15
constexpr size_t kTableWidth = 10;
constexpr size_t kDocumentWidth = 15;
constexpr size_t kBusinessWidth = 15;

std::string Fit(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string RightTrimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::unique_ptr<TXT_SRCH>& IndexObject() {
  static std::unique_ptr<TXT_SRCH> index;
  return index;
}

std::string Text(xbase::Cursor& c, std::string_view field) { return c.Get(field).str; }

// The key of a word in tag TXT_SRCH4; the word is cut or padded to the T_ITEM field so that a
// word is never taken for a longer one that begins with it.
struct WordKey {
  std::string business, table, document, item;
  std::string Bytes() const { return business + table + document + item; }
  bool Matches(xbase::Cursor& c) const {
    return RightTrimmed(Text(c, "NEGOCIO")) == RightTrimmed(business) &&
           RightTrimmed(Text(c, "TABLA")) == RightTrimmed(table) &&
           RightTrimmed(Text(c, "DOCUMENTO")) == RightTrimmed(document) &&
           RightTrimmed(Text(c, "T_ITEM")) == RightTrimmed(item);
  }
};

// Stands the index cursor on a record it may write: a free record, locked and checked to be still
// free once the lock is held (another station may have taken it meanwhile), or a new one.
void TakeFreeRecord(xbase::Cursor& index) {
  while (index.Seek(xbase::Value::Character(kFreeIndexRecord))) {
    LOCK_FOR_MODIFY();
    if (Text(index, "NEGOCIO") == kFreeIndexRecord && !index.Deleted()) return;
    UNLOCK_FOR_MODIFY();
  }
  ADD_NEW_REC();
}

// The index keys of the words of `text` for one document, with the word index in key order.
std::vector<WordKey> KeysOf(xbase::Cursor& index, const std::string& business,
                            const std::string& document, const std::string& text,
                            const std::string& table) {
  index.SetOrder("TXT_SRCH4");
  const int item_width = index.fields()[index.FieldIndex("T_ITEM")].length;
  std::vector<WordKey> keys;
  for (const std::string& word : SplitWords(text)) {
    keys.push_back({Fit(business, kBusinessWidth), Fit(table, kTableWidth),
                    Fit(document, kDocumentWidth), Fit(word, item_width)});
  }
  return keys;
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::string rest = TrimBlanks(xbase::UpperCase(text));
  while (!rest.empty()) {
    size_t blank = rest.find(' ');
    std::string word = rest.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
    if (TrimBlanks(word).size() > 2) words.push_back(word);
  }
  return words;
}

void TXT_SRCH::INIT(std::any owner, const std::string& business) {
  SET_NEGOCIO(std::move(owner), business);
  AreaSelection keep(SelectedArea());
  Table = USE(oParent, "TXT_SRCH", "TXT_SRCH");
}

void TXT_SRCH::AXIT() {
  KILLTABLA(Table);
  Table.reset();
}

void TXT_SRCH::SET_NEGOCIO(std::any owner, const std::string& business) {
  oParent = std::move(owner);
  Negocio = business;
}

void TXT_SRCH::ADD_TEXTO(const std::string& document, int id, const std::string& text,
                         const std::string& table) {
  AreaSelection selection(Table->Area);
  xbase::Cursor& index = SelectedCursor();
  for (const WordKey& key : KeysOf(index, Negocio, document, text, table)) {
    if (index.SeekBytes(key.Bytes())) continue;
    TakeFreeRecord(index);
    index.Put("NEGOCIO", xbase::Value::Character(key.business));
    index.Put("DOCUMENTO", xbase::Value::Character(key.document));
    index.Put("ID", xbase::Value::Numeric(id));
    index.Put("T_ITEM", xbase::Value::Character(key.item));
    index.Put("TABLA", xbase::Value::Character(key.table));
    UNLOCK_NEW_REC();
  }
}

void TXT_SRCH::DEL_TEXTO(const std::string& document, int /*id*/, const std::string& text,
                         const std::string& table) {
  AreaSelection selection(Table->Area);
  xbase::Cursor& index = SelectedCursor();
  for (const WordKey& key : KeysOf(index, Negocio, document, text, table)) {
    index.SeekBytes(key.Bytes());
    while (!index.Eof() && key.Matches(index)) {
      index.Skip(1);
      const uint32_t next = index.Eof() ? 0 : index.RecNo();
      index.Skip(-1);
      LOCK_FOR_MODIFY();
      index.Put("NEGOCIO", xbase::Value::Character(kFreeIndexRecord));
      UNLOCK_FOR_MODIFY();
      if (next == 0) break;
      index.GoTo(next);
    }
  }
}

void LoadTextSearchConfiguration() {
  settings::Settings& globals = settings::Current();
  globals.XTXT_SRCH_FILES.clear();
  try {
    xbase::ResolveTablePath(globals.PATH + "BASES/F_TXT_S.DBF");
  } catch (const xbase::Error&) {
    return;  // no configuration: the word index is off
  }
  AreaSelection keep(SelectedArea());
  TableHandle config = USE({}, "F_TXT_S", "T_TXT_S");
  for (config->GoTop(); !config->Eof(); config->Skip(1)) {
    globals.XTXT_SRCH_FILES.push_back(
        {config->FieldGet("TABLA").str, TrimBlanks(config->FieldGet("DOCUMENTO").str)});
  }
  KILLTABLA(config);
  IndexObject() = std::make_unique<TXT_SRCH>();
  IndexObject()->INIT({}, "");
}

void CloseTextSearch() {
  if (IndexObject()) IndexObject()->AXIT();
  IndexObject().reset();
  settings::Current().XTXT_SRCH_FILES.clear();
}

TXT_SRCH* XTXT_SRCH_OBJ() { return IndexObject().get(); }

void RegisterTextSearch(WTable& handle) {
  auto& slots = settings::Current().XTXT_SRCH_VECTOR;
  if (handle.Area <= 0 || handle.Area >= static_cast<int>(slots.size())) return;
  settings::TextSearchSlot slot{0, "", handle.Name, ""};
  const std::string name = Fit(handle.Name, kNameWidth);
  for (const settings::TextSearchFile& file : settings::Current().XTXT_SRCH_FILES) {
    if (Fit(file.table, kNameWidth) == name) {
      slot.flag = 1;
      slot.document_field = file.document_field;
      break;
    }
  }
  handle.SEARCH_TXT = slot.flag;
  slots[handle.Area] = std::move(slot);
}

void TextSearchHook(int area, TextSearchMode mode) {
  TXT_SRCH* index = XTXT_SRCH_OBJ();
  auto& slots = settings::Current().XTXT_SRCH_VECTOR;
  if (!index || area <= 0 || area >= static_cast<int>(slots.size())) return;
  const settings::TextSearchSlot slot = slots[area];
  // The index table itself never feeds the index: its own writes would call the hook again.
  if (slot.flag != 1 || (index->Table && area == index->Table->Area)) return;

  AreaSelection selection(area);
  xbase::Cursor& record = SelectedCursor();
  std::vector<std::string> texts;
  std::string business, document;
  const std::string document_field = Fit(slot.document_field, kNameWidth);
  for (int i = 0; i < record.FieldCount(); ++i) {
    const std::string& name = record.fields()[i].name;
    xbase::Value value = record.Get(i);
    if (value.type != xbase::ValueType::kCharacter || value.str.size() < 10 ||
        name.rfind("INFO_U", 0) == 0) {
      continue;
    }
    if (name == "NEGOCIO") business = value.str;
    if (Fit(name, kNameWidth) == document_field) document = value.str;
    texts.push_back(std::move(value.str));
  }
  index->SET_NEGOCIO(index->oParent, business);
  if (record.Deleted()) return;
  for (const std::string& text : texts) {
    if (mode == TextSearchMode::kBeforeChange) {
      index->DEL_TEXTO(document, 0, text, slot.table);
    } else {
      index->ADD_TEXTO(document, 0, text, slot.table);
    }
  }
}

}  // namespace data
