#include "frame/ads_def.h"

#include <cstdlib>

#include "lib/settings/settings.h"
#include "platform/dbserver/client.h"
#include "platform/os/files.h"

namespace frame {
namespace {

constexpr size_t kPieceSize = 1000;

bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string::npos; }

// VAL(): the number at the start of the text after blanks; 0 when there is none.
int LeadingNumber(const std::string& text) { return std::atoi(text.c_str()); }

}  // namespace

void AdsDefLines::AddPiece(std::string_view piece) {
  for (char c : piece) {
    if (c == '\n') continue;
    if (c == '\r') {
      lines_.push_back(std::move(pending_));
      pending_.clear();
    } else {
      pending_ += c;
    }
  }
}

std::vector<std::string> AdsDefLines::Finish() {
  lines_.push_back(std::move(pending_));
  pending_.clear();
  std::vector<std::string> lines = std::move(lines_);
  lines_.clear();
  if (lines.size() < kAdsParamSlots) lines.resize(kAdsParamSlots);
  return lines;
}

std::vector<std::string> GET_A_ADS(const std::string& path) {
  AdsDefLines lines;
  if (!os::ReadInPieces(path, kPieceSize,
                        [&lines](std::string_view piece) { lines.AddPiece(piece); })) {
    return std::vector<std::string>(kAdsParamSlots);
  }
  return lines.Finish();
}

bool LineBeginsWith(const std::vector<std::string>& params, size_t number,
                    std::string_view prefix) {
  return number >= 1 && number <= params.size() && params[number - 1].starts_with(prefix);
}

void SET_ADS_PARAMS(const std::vector<std::string>& params) {
  settings::Settings& globals = settings::Current();
  for (size_t number = 21; number <= params.size() && number <= 27; ++number) {
    const std::string& line = params[number - 1];
    if (IsBlank(line)) continue;
    switch (number) {
      case 21:
        dbserver::ADSRIGHTSCHECK(LineBeginsWith(params, number, ".F.") ? 0 : 1);
        break;
      case 22:
        globals.XADSCACHERECORDS = LeadingNumber(line);
        break;
      case 23:
        dbserver::ADSLOCKING(LineBeginsWith(params, number, ".F.") ? 0 : 1);
        break;
      case 26:
        globals.XADS_TS = line;
        break;
      case 27:
        globals.XADS_DIR = line;
        break;
      default:
        break;
    }
  }
}

}  // namespace frame
