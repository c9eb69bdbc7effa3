#pragma once
// Mailing an error straight away through the mail component "see32mt", which is loaded for the
// mail and unloaded after it. When the component cannot be loaded or the server refuses the
// connection, a message says so and no mail goes out.

#include <string>

namespace frame {

// Sends `body` (HTML) with `subject` to XEMAILDEST, from XEMAILNAME <XEMAILADDR>, through
// XEMAILHOST (port XEMAIL_SMTP_PORT when set and not 0, else 25; with XEMAIL_AU and XEMAIL_AP
// when XEMAILAUTH is 1).
void MailError(const std::string& subject, const std::string& body);

// How long the component may wait to connect and to transfer (10 s each unless changed).
void SetMailTimeouts(int connect_ms, int transfer_ms);

}  // namespace frame
