#include "lib/net/csc32_wrappers.h"

#include <algorithm>

#include "lib/net/csc32_library.h"

namespace {

// `size` cut to the bytes `text` really has (a negative size stays, for the component to
// refuse).
int32_t CutToText(int32_t size, const std::string& text) {
  return static_cast<int32_t>(std::min<int64_t>(size, static_cast<int64_t>(text.size())));
}

}  // namespace

int32_t CSCATTACH(int32_t connections, int32_t listeners) {
  return net::CallEntryPoint<CscAttachFn>("cscAttach", connections, listeners);
}

int32_t CSCSERVER(const std::string& host, int32_t port, int32_t backlog) {
  return net::CallEntryPoint<CscServerFn>("cscServer", host.c_str(), port, backlog);
}

int32_t CSCCONNECTMESSAGE(intptr_t hWnd, int32_t listener, int32_t message) {
  return net::CallEntryPoint<CscConnectMessageFn>("cscConnectMessage", hWnd, listener, message);
}

int32_t CSCACCEPTCONNECT(int32_t listener_or_port) {
  return net::CallEntryPoint<CscAcceptConnectFn>("cscAcceptConnect", listener_or_port);
}

int32_t CSCDATAMESSAGE(intptr_t hWnd, int32_t connection, int32_t message) {
  return net::CallEntryPoint<CscDataMessageFn>("cscDataMessage", hWnd, connection, message);
}

int32_t CSCGETDATA(int32_t connection, std::string& buffer, int32_t size) {
  return net::CallEntryPoint<CscGetDataFn>("cscGetData", connection, buffer.data(),
                                           CutToText(size, buffer));
}

int32_t CSCPUTDATA(int32_t connection, const std::string& text, int32_t length) {
  return net::CallEntryPoint<CscPutDataFn>("cscPutData", connection, text.data(),
                                           CutToText(length, text));
}

int32_t CSCCLOSE(int32_t handle) { return net::CallEntryPoint<CscCloseFn>("cscClose", handle); }

int32_t CSCERRORTEXT(int32_t code, std::string& buffer, int32_t size) {
  return net::CallEntryPoint<CscErrorTextFn>("cscErrorText", code, buffer.data(),
                                             CutToText(size, buffer));
}

int32_t CSCCLIENT(const std::string& host, int32_t port) {
  return net::CallEntryPoint<CscClientFn>("cscClient", host.c_str(), port);
}

int32_t CSCAWAITDATA(int32_t connection, int32_t timeout_ms) {
  return net::CallEntryPoint<CscAwaitDataFn>("cscAwaitData", connection, timeout_ms);
}

int32_t CSCISCONNECTED(int32_t connection) {
  return net::CallEntryPoint<CscIsConnectedFn>("cscIsConnected", connection);
}
