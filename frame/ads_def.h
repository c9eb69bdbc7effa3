#pragma once
// ADS.DEF, the database-server configuration beside the program: its presence selects the server
// engine; its numbered lines carry the data folder (line 1) and the server settings (lines 21-27).

#include <string>
#include <string_view>
#include <vector>

namespace frame {

// Slots a configuration always has: files with fewer lines get empty slots after theirs, so no
// reader ever looks past the end.
inline constexpr size_t kAdsParamSlots = 26;

// Cuts the file's text into lines as it is read piece by piece: every LF is dropped, each CR ends
// a line, and the text after the last CR is one more line (empty when the file ends with a line
// break). A line may span two pieces.
class AdsDefLines {
 public:
  void AddPiece(std::string_view piece);
  std::vector<std::string> Finish();

 private:
  std::vector<std::string> lines_;
  std::string pending_;
};

// Reads the file in pieces of 1000 bytes into its lines (at least kAdsParamSlots of them); only
// empty slots when it cannot be read.
std::vector<std::string> GET_A_ADS(const std::string& path);

// Whether line `number` (from 1) begins with `prefix`: a line that begins with "1" counts as "1",
// one that begins with ".F." as ".F.". False for a line the configuration does not have.
bool LineBeginsWith(const std::vector<std::string>& params, size_t number, std::string_view prefix);

// Applies lines 21 to 27 that hold more than blanks: rights checking (21), record cache size
// (22), locking mode (23), transaction flags (26) and line 27.
void SET_ADS_PARAMS(const std::vector<std::string>& params);

}  // namespace frame
