#pragma once
// The bodies of error and success replies. The text goes in as it is, without escaping.

#include <string>
#include <string_view>

// "<ZIRUVUZ><ERROR>" text "</ERROR></ZIRUVUZ>" CR LF.
std::string CREATE_XML(std::string_view text);
// "<ZIRUVUZ><MESSAGE>" text "</MESSAGE></ZIRUVUZ>" CR LF.
std::string CREATE_XML_SUCCESS(std::string_view text);
