#include "exchange/login.h"

#include "exchange/request_arguments.h"
#include "lib/data/text_fields.h"
#include "exchange/xml/xml_iterator.h"

namespace {
// Only the first 10 characters of the user name and of the password count.
constexpr size_t kCredentialWidth = 10;
}  // namespace

std::optional<std::string> LoginError(ExchangeTables& tables, const TXmlNode& login) {
  // One iterator for both, so a password before the user name is not seen.
  TXmlIteratorScan scan(login);
  const TXmlNode* username = scan.Find("username");
  const TXmlNode* password = username ? scan.Find("password") : nullptr;
  if (!username || !password) return "No username or password";
  if (HasNoText(*username) || HasNoText(*password)) return "username or password: empty";

  const std::string user = PadCut(*username->CData(), kCredentialWidth);
  if (!tables.U_DIZU->Seek(tables.Negocio + user)) return "Bad User";
  const std::string stored = PadCut(tables.U_DIZU->FieldGet("PASS").str, kCredentialWidth);
  if (stored != PadCut(*password->CData(), kCredentialWidth)) return "Bad User";
  return std::nullopt;
}
