#pragma once
// One wrapper per entry point of the socket component; each looks its entry point up by name
// on every call and returns its result, or net::kEntryPointUnavailable. Buffers are the
// caller's own text: sizes and lengths larger than the text are cut to it, so the component
// never writes or reads past the caller's bytes. Handles, messages and results are as
// platform/sockets/csc32.h describes them.

#include <cstdint>
#include <string>

int32_t CSCATTACH(int32_t connections, int32_t listeners);
int32_t CSCSERVER(const std::string& host, int32_t port, int32_t backlog);
int32_t CSCCONNECTMESSAGE(intptr_t hWnd, int32_t listener, int32_t message);
int32_t CSCACCEPTCONNECT(int32_t listener_or_port);
int32_t CSCDATAMESSAGE(intptr_t hWnd, int32_t connection, int32_t message);
// Moves up to `size` waiting bytes to the start of `buffer`; the count moved.
int32_t CSCGETDATA(int32_t connection, std::string& buffer, int32_t size);
// Sends the first `length` bytes of `text`.
int32_t CSCPUTDATA(int32_t connection, const std::string& text, int32_t length);
int32_t CSCCLOSE(int32_t handle);
// Writes the description of `code` to the start of `buffer`; its length.
int32_t CSCERRORTEXT(int32_t code, std::string& buffer, int32_t size);
int32_t CSCCLIENT(const std::string& host, int32_t port);
int32_t CSCAWAITDATA(int32_t connection, int32_t timeout_ms);
int32_t CSCISCONNECTED(int32_t connection);
