#pragma once
// Descriptions of the component's failure codes (the CSC_* codes of csc32.h).

#include <cstdint>
#include <string_view>

namespace sock {

// The description of `code`; a generic text for codes the component never returns.
std::string_view ErrorText(int32_t code);

}  // namespace sock
