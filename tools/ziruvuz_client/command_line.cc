#include "tools/ziruvuz_client/command_line.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace zvclient {

const char kUsage[] =
    "usage: ziruvuz-client --local PROGRAMDIR REQUEST\n"
    "       ziruvuz-client --send HOST:PORT [--timeout SECONDS] REQUEST\n"
    "\n"
    "--local  runs the request in this process against the tables in PROGRAMDIR/BASES,\n"
    "         as the server would (without its one-second pause after a reply).\n"
    "--send   sends the request over TCP to HOST:PORT (a name or an IPv4 address) and\n"
    "         prints what comes back until the server closes the connection; gives up\n"
    "         after SECONDS (default 20).\n"
    "Either way the reply bytes go to standard output exactly as they came.\n"
    "\n"
    "REQUEST is a file holding the whole request (HTTP-style header and SOAP envelope),\n"
    "or a request built from values:\n"
    "  --user USER --password PASSWORD getinfo ROOM FIRSTNAME LASTNAME\n"
    "  --user USER --password PASSWORD statement ROOM\n"
    "  --user USER --password PASSWORD roomservice ROOM [--order NUMBER]\n"
    "         --item ITEM [--item ITEM ...]\n"
    "ITEM is CODE:DESCRIP:QTY:PRICE:TAX1:TAX2:TAX3, split at every ':' into exactly seven\n"
    "fields, so no field (the description included) may contain ':'. CODE and DESCRIP\n"
    "must not be empty; QTY, PRICE and the tax rates (in percent) are plain decimal\n"
    "numbers with a point for decimals and no thousands separators: 2, 12.50, -1.\n"
    "Values are sent as the bytes given, XML-escaped; the hotel's tables hold\n"
    "Windows-1252 text, so accented names must be given in that character set.\n"
    "\n"
    "Exit status: 0 a reply was written, 2 an error (arguments, file, tables, connection),\n"
    "3 no reply (the server closed without answering), 4 --send timed out.\n";

namespace {

constexpr double kMaxTimeoutSeconds = 24 * 3600;

bool Fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

// "HOST:PORT" with a port from 1 to 65535.
bool ParseEndpoint(const std::string& text, CommandLine& line, std::string& error) {
  const size_t colon = text.rfind(':');
  const std::string port = colon == std::string::npos ? "" : text.substr(colon + 1);
  const bool digits_only =
      !port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == port.npos;
  const long number = digits_only ? std::strtol(port.c_str(), nullptr, 10) : 0;
  if (colon == 0 || number < 1 || number > 65535) {
    return Fail(error, "--send wants HOST:PORT with a port from 1 to 65535, not '" + text + "'");
  }
  line.host = text.substr(0, colon);
  line.port = static_cast<uint16_t>(number);
  return true;
}

bool ParseTimeout(const std::string& text, CommandLine& line, std::string& error) {
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(seconds > 0) || seconds > kMaxTimeoutSeconds) {
    return Fail(error, "--timeout wants a number of seconds above 0, not '" + text + "'");
  }
  line.timeout = std::chrono::milliseconds(static_cast<int64_t>(std::ceil(seconds * 1000)));
  return true;
}

// Digits, optionally a point and more digits, optionally a leading minus: read the same way
// by the server and by a person.
bool IsPlainDecimal(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view decimals = point == text.npos ? "1" : text.substr(point + 1);
  auto all_digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == part.npos;
  };
  return all_digits(whole) && all_digits(decimals);
}

bool ParseItem(const std::string& text, OrderItem& item, std::string& error) {
  std::array<std::string*, 7> fields = {&item.code, &item.descrip, &item.quantity, &item.price,
                                        &item.tax1, &item.tax2,    &item.tax3};
  constexpr std::array<const char*, 7> kNames = {"CODE", "DESCRIP", "QTY", "PRICE",
                                                 "TAX1", "TAX2",    "TAX3"};
  const std::string prefix = "--item '" + text + "': ";
  size_t start = 0;
  for (size_t field = 0; field < fields.size(); ++field) {
    const size_t colon = text.find(':', start);
    const bool last = field + 1 == fields.size();
    if ((colon == std::string::npos) != last) {
      return Fail(error, prefix +
                             "give CODE:DESCRIP:QTY:PRICE:TAX1:TAX2:TAX3, seven fields "
                             "(no field may contain ':')");
    }
    *fields[field] = text.substr(start, last ? std::string::npos : colon - start);
    start = colon + 1;
  }
  if (item.code.empty() || item.descrip.empty()) {
    return Fail(error, prefix + "CODE and DESCRIP must not be empty");
  }
  for (size_t field = 2; field < fields.size(); ++field) {
    if (!IsPlainDecimal(*fields[field])) {
      return Fail(error, prefix + kNames[field] + " '" + *fields[field] +
                             "' is not a plain decimal number (such as 2, 12.50 or -1)");
    }
  }
  return true;
}

// The options that take one value and may be given once.
struct SingleOptions {
  std::optional<std::string> local, send, timeout, user, password, order;

  std::optional<std::string>* Find(std::string_view name) {
    if (name == "--local") return &local;
    if (name == "--send") return &send;
    if (name == "--timeout") return &timeout;
    if (name == "--user") return &user;
    if (name == "--password") return &password;
    if (name == "--order") return &order;
    return nullptr;
  }
};

struct ActionWord {
  std::string_view word;
  RequestAction action;
  size_t arguments;
  const char* takes;
};

constexpr ActionWord kActionWords[] = {
    {"getinfo", RequestAction::kGetInfo, 3, "ROOM FIRSTNAME LASTNAME"},
    {"statement", RequestAction::kStatement, 1, "ROOM"},
    {"roomservice", RequestAction::kRoomService, 1, "ROOM"},
};

const ActionWord* FindActionWord(const std::vector<std::string>& positionals) {
  if (positionals.empty()) return nullptr;
  for (const ActionWord& word : kActionWords) {
    if (word.word == positionals[0]) return &word;
  }
  return nullptr;
}

bool ParseAction(const std::vector<std::string>& positionals, const SingleOptions& options,
                 const std::vector<std::string>& items, RequestFields& fields, std::string& error) {
  const ActionWord* word = FindActionWord(positionals);
  if (!word) {
    return Fail(error, "the action is getinfo, statement or roomservice, not '" +
                           (positionals.empty() ? std::string() : positionals[0]) + "'");
  }
  if (!options.user || !options.password) {
    return Fail(error, std::string(word->word) + " needs both --user and --password");
  }
  if (positionals.size() != word->arguments + 1) {
    return Fail(error, std::string(word->word) + " takes " + word->takes);
  }
  fields.action = word->action;
  fields.user = *options.user;
  fields.password = *options.password;
  fields.room = positionals[1];
  if (fields.action == RequestAction::kGetInfo) {
    fields.first_name = positionals[2];
    fields.last_name = positionals[3];
  }
  if (fields.action != RequestAction::kRoomService) {
    if (options.order || !items.empty()) {
      return Fail(error, "--order and --item go only with roomservice");
    }
    return true;
  }
  if (items.empty()) return Fail(error, "roomservice needs at least one --item");
  fields.order_number = options.order;
  for (const std::string& text : items) {
    if (!ParseItem(text, fields.items.emplace_back(), error)) return false;
  }
  return true;
}

// The arguments sorted into options, --item values and positional arguments.
struct SortedArguments {
  bool help = false;
  SingleOptions options;
  std::vector<std::string> items;
  std::vector<std::string> positionals;
};

bool SortArguments(const std::vector<std::string>& args, SortedArguments& sorted,
                   std::string& error) {
  bool options_ended = false;
  for (size_t at = 0; at < args.size(); ++at) {
    const std::string& arg = args[at];
    if (options_ended || !arg.starts_with("--")) {
      sorted.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--help") {
      sorted.help = true;
      return true;
    }
    std::optional<std::string>* single = sorted.options.Find(arg);
    if (!single && arg != "--item") return Fail(error, "unknown option " + arg);
    if (at + 1 == args.size()) return Fail(error, arg + " needs a value");
    const std::string& value = args[++at];
    if (!single) {
      sorted.items.push_back(value);
    } else if (*single) {
      return Fail(error, arg + " is given twice");
    } else {
      *single = value;
    }
  }
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& error) {
  SortedArguments sorted;
  if (!SortArguments(args, sorted, error)) return false;
  if (sorted.help) {
    line.help = true;
    return true;
  }
  const SingleOptions& options = sorted.options;
  const std::vector<std::string>& positionals = sorted.positionals;

  if (options.local.has_value() == options.send.has_value()) {
    return Fail(error, "give either --local PROGRAMDIR or --send HOST:PORT");
  }
  if (options.local) {
    line.mode = Mode::kLocal;
    line.program_dir = *options.local;
    if (options.timeout) return Fail(error, "--timeout goes only with --send");
  } else {
    line.mode = Mode::kSend;
    if (!ParseEndpoint(*options.send, line, error)) return false;
    if (options.timeout && !ParseTimeout(*options.timeout, line, error)) return false;
  }

  const bool built = options.user || options.password || options.order || !sorted.items.empty() ||
                     FindActionWord(positionals);
  if (built) return ParseAction(positionals, options, sorted.items, line.built.emplace(), error);
  if (positionals.empty()) return Fail(error, "no request: give a REQUESTFILE or an action");
  if (positionals.size() > 1) return Fail(error, "unexpected argument '" + positionals[1] + "'");
  line.request_file = positionals[0];
  return true;
}

}  // namespace zvclient
