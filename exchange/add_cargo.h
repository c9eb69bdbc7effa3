#pragma once
// ADD_CARGO: posts one charge to a guest folio with its item details and its tax lines, opening
// the tables it needs for the length of the call.
//
// All lines of one posting share the folio's group and get consecutive numbers from the folio
// header, which stays locked from reading those counters until they are advanced, so no other
// station can hand out the same numbers meanwhile. A posting that fails part-way marks every
// record it wrote deleted, leaves the counters as they were and throws PostingFailed.

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/room_service_order.h"

struct CargoTax {
  std::string transaction;  // the transaction code the tax is posted under
  double amount = 0;        // in the charge's currency; 0 posts no line
};

class PostingFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Posts `amount` (in `currency`) under `transaction` to the guest folio of the in-house stay of
// `room` in `reservation`, or to folio `folio` when that is not empty. Returns the folio's
// NUMERO, or empty when no folio was found: then nothing is written.
std::string ADD_CARGO(const std::string& currency, const std::string& business,
                      const std::string& room, const std::string& transaction,
                      const std::string& document, double amount, const std::string& reservation,
                      const std::vector<ItemLine>& item_lines, const std::array<CargoTax, 3>& taxes,
                      const std::string& folio);

// Test seam: when set, called before each record the posting appends or changes, with the count
// of those done so far in this posting; a throw from it stands for a failed write.
void SetPostingWriteProbe(std::function<void(int writes_done)> probe);
