#pragma once
// The word index that the suite keeps over the text of chosen tables (table TXT_SRCH): the
// tables listed in F_TXT_S feed it, one entry per business, table, document and word. The
// locking functions keep it current: before a record is locked for change its words are
// removed, and when it is released its words are added. Without F_TXT_S nothing is indexed.

#include <any>
#include <memory>
#include <string>
#include <vector>

#include "lib/data/wtable.h"

namespace data {

enum class TextSearchMode { kBeforeChange = 1, kAfterChange = 2 };

// Marks an index record as free for reuse in its NEGOCIO field.
inline constexpr char kFreeIndexRecord[] = "XXXXXXXXXXXXXXX";

class TXT_SRCH {
 public:
  TableHandle Table;  // the index table, open from INIT to AXIT
  std::any oParent;
  std::string Negocio;  // business code used by the current hook call

  void INIT(std::any owner, const std::string& business);
  void AXIT();
  void SET_NEGOCIO(std::any owner, const std::string& business);
  // Adds the words of `text` (upper case, longer than 2 characters) for the document, unless the
  // document already has the word; free records are reused before the table grows.
  void ADD_TEXTO(const std::string& document, int id, const std::string& text,
                 const std::string& table);
  // Frees the index records of the words of `text` for the document.
  void DEL_TEXTO(const std::string& document, int id, const std::string& text,
                 const std::string& table);
};

// The words of a text as both operations take them: upper-cased, split at blanks, words of 2
// characters or less left out.
std::vector<std::string> SplitWords(const std::string& text);

// Reads F_TXT_S from the BASES folder (when it exists) into settings XTXT_SRCH_FILES and opens the
// index; otherwise the list stays empty and there is no index object.
void LoadTextSearchConfiguration();
// Closes the index and empties the list.
void CloseTextSearch();
// The index object; nullptr when the word index is off.
TXT_SRCH* XTXT_SRCH_OBJ();

// Records in the area's slot whether the table just opened feeds the index (and sets the
// handle's SEARCH_TXT).
void RegisterTextSearch(WTable& handle);
// Removes (before change) or adds (after change) the words of the current record of `area`.
void TextSearchHook(int area, TextSearchMode mode);

}  // namespace data
