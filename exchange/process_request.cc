#include "exchange/process_request.h"

#include <optional>

#include "exchange/actions.h"
#include "exchange/login.h"
#include "exchange/reply_body.h"
#include "exchange/request_arguments.h"
#include "exchange/send_data.h"
#include "exchange/xml/xml_document.h"
#include "exchange/xml/xml_iterator.h"
#include "exchange/xml_log.h"

namespace {

// The action asked for, or the error reply text. No login means no action at all.
struct ActionOrError {
  std::optional<std::string> action;
  std::string error;
};

ActionOrError ReadAction(ExchangeTables& tables, const TXmlDocument& request,
                         const TXmlNode& ziruvuz) {
  TXmlIteratorScan scan(ziruvuz);
  const TXmlNode* login = scan.Find("login");
  if (!login) return {std::nullopt, "Bad Command"};
  if (std::optional<std::string> error = LoginError(tables, *login)) return {std::nullopt, *error};
  // ACTIONS may stand anywhere in the document, not only inside ZIRUVUZ.
  const TXmlNode* actions = request.FindFirst("ACTIONS");
  if (!actions) return {std::nullopt, "No ACTIONS"};
  ArgumentText action = FindArgumentText(*actions, "Action");
  if (!action.ok()) return {std::nullopt, action.error};
  return {action.text, {}};
}

using Action = void (*)(const ExchangeContext&, int, const TXmlDocument&);

// The action selected by the leading characters of its name, case-sensitively; null when none.
Action ActionNamed(const std::string& name) {
  if (name.starts_with("GETINFO")) return GetInfo;
  if (name.starts_with("ROOM SERVICE")) return RoomService;
  if (name.starts_with("GETSTATEMENT")) return GetStatement;
  return nullptr;
}

}  // namespace

void PROCESSREQUEST(const ExchangeContext& context, int connection, const std::string& text) {
  context.side.ACT_TIME(connection);
  LogXml(context.tables, text);
  const TXmlDocument request = TXmlDocument::New(text);
  const TXmlNode* ziruvuz = request.FindFirst("ZIRUVUZ");
  if (!ziruvuz) return;
  const ActionOrError read = ReadAction(context.tables, request, *ziruvuz);
  if (!read.action) {
    SEND_DATA(context, connection, CREATE_XML(read.error));
    return;
  }
  if (Action action = ActionNamed(*read.action)) action(context, connection, request);
}
