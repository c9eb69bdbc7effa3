#pragma once
/* The entry points of the socket component, the loadable module "csc32" (libcsc32.so).
 *
 * Callers load the module at run time and look every entry point up by name; the typedefs
 * below give each entry point's type for that look-up. All calls are made on the thread of
 * the application's Qt event loop, which must exist before cscAttach. Every result is a
 * 32-bit integer: handles and byte counts are >= 0, failures are the negative codes listed
 * below, described by cscErrorText.
 *
 * Handles: connections (accepted or opened with cscClient) get the lowest free handle from 0
 * to connections - 1 (at most 0 to 9); listeners get handles from 65536 on, so no listening
 * handle is ever a valid port number or a connection handle.
 *
 * Notifications are window messages handed to the poster installed with cscSetPoster, as
 * post(window, message, handle, 0). Each registered notification is posted once and not
 * again until the owner reacts (accepts, or reads): a connect message while a connection
 * waits and a connection handle is free; a data message while unread bytes wait. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Failure codes. */
enum {
  CSC_NOT_ATTACHED = -1,       /* cscAttach has not been called */
  CSC_NO_EVENT_LOOP = -2,      /* no Qt application object, or called from another thread */
  CSC_BAD_ARGUMENT = -3,       /* a count, size, port or pointer is out of range */
  CSC_UNKNOWN_HANDLE = -4,     /* no open connection or listener has that handle (or port) */
  CSC_NO_FREE_HANDLE = -5,     /* every connection handle is in use */
  CSC_NOTHING_WAITING = -6,    /* no connection is waiting on the listener */
  CSC_LISTEN_FAILED = -7,      /* the address and port cannot be listened on */
  CSC_TOO_MANY_LISTENERS = -8, /* every listener handle is in use */
  CSC_BAD_ADDRESS = -9,        /* the host text is not an IPv4 or IPv6 address */
  CSC_NOT_CONNECTED = -10,     /* the peer has closed the connection */
  CSC_SEND_FAILED = -11        /* the bytes could not be queued for sending */
};

/* Posts a window message; supplied by the window system. */
typedef int (*CscPoster)(intptr_t window, uint32_t message, uintptr_t wparam, intptr_t lparam);

/* Initialises the component for this process with room for `connections` connections (1 to
 * 10) and `listeners` listeners (1 to 10). A second call starts afresh: connections and
 * listeners of the first are closed (sending what was queued first) and the poster has to be
 * installed again. */
typedef int32_t CscAttachFn(int32_t connections, int32_t listeners);
/* Installs the poster through which every notification is posted; 0. */
typedef int32_t CscSetPosterFn(CscPoster post);
/* Listens on `host` (an address; empty: every IPv4 address) and `port` with a listen backlog
 * of `backlog` (at least 1); the listening handle. */
typedef int32_t CscServerFn(const char* host, int32_t port, int32_t backlog);
/* From now on posts `message` to `window` whenever a connection waits on `listener` and a
 * connection handle is free; 0. */
typedef int32_t CscConnectMessageFn(intptr_t window, int32_t listener, int32_t message);
/* Accepts one waiting connection on the listener named by its handle or by its port; the new
 * connection handle. */
typedef int32_t CscAcceptConnectFn(int32_t listener_or_port);
/* From now on posts `message` to `window` whenever unread bytes wait on `connection`; 0. */
typedef int32_t CscDataMessageFn(intptr_t window, int32_t connection, int32_t message);
/* Moves up to `size` unread bytes into `buffer` from its first byte on (no terminator); the
 * number of bytes moved, 0 when none wait. */
typedef int32_t CscGetDataFn(int32_t connection, char* buffer, int32_t size);
/* Queues all `length` bytes for sending; `length`. Queued bytes are delivered even when the
 * connection is closed right afterwards. */
typedef int32_t CscPutDataFn(int32_t connection, const char* data, int32_t length);
/* Closes a connection or a listener; 0. A connection's queued bytes are still sent, then it is
 * closed; its handle is free at once. */
typedef int32_t CscCloseFn(int32_t handle);
/* Writes up to `size` bytes of the description of `code` into `buffer` (no terminator); the
 * number of bytes written. */
typedef int32_t CscErrorTextFn(int32_t code, char* buffer, int32_t size);
/* Opens an outgoing connection to `host` (address or name) and `port`; its handle at once,
 * while the connection is made in the background. */
typedef int32_t CscClientFn(const char* host, int32_t port);
/* Waits up to `timeout_ms` for unread bytes on `connection`; the number of unread bytes. */
typedef int32_t CscAwaitDataFn(int32_t connection, int32_t timeout_ms);
/* 1 while the connection is established, else 0. */
typedef int32_t CscIsConnectedFn(int32_t connection);

#ifdef __cplusplus
}
#endif
