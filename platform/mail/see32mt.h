#pragma once
/* The entry points of the mail component, the loadable module "see32mt" (libsee32mt.so).
 *
 * Callers load the module at run time and look every entry point up by name; the typedefs below
 * give each entry point's type for that look-up. One mail session at a time: attach, connect to
 * the SMTP server, send, close, release. Texts are bytes of the program's 8-bit character set
 * (Windows-1252); the mail says so in its content type.
 *
 * Every result is a 32-bit integer: 0 or more is success, a failure is one of the negative codes
 * below, described by seeErrorText. A transport failure is SEE_TRANSPORT_BASE minus the
 * transport's own code. seeSmtpConnect never blocks longer than the connect timeout, and
 * seeSendHTML never longer than the connect timeout plus the transfer timeout (10 s each unless
 * seeSetTimeouts says otherwise). */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Failure codes. */
enum {
  SEE_NOT_ATTACHED = -1,    /* seeAttach has not been called (or seeRelease has) */
  SEE_BAD_ARGUMENT = -2,    /* a text is missing or a port or timeout is out of range */
  SEE_NOT_CONNECTED = -3,   /* seeSmtpConnect has not succeeded since the last close */
  SEE_INIT_FAILED = -4,     /* the transport library could not be initialised */
  SEE_TRANSPORT_BASE = -100 /* SEE_TRANSPORT_BASE - n: the transport failed with its code n */
};

/* Prepares the component for this process; 0. */
typedef int32_t SeeAttachFn(void);
/* Sets the connect timeout and the transfer timeout in milliseconds (1 to 600000 each); 0. */
typedef int32_t SeeSetTimeoutsFn(int32_t connect_ms, int32_t transfer_ms);
/* Connects to the SMTP server `host` on `port` (1 to 65535) as sender `from` ("<address>"),
 * with `user` and `password` when `user` is not empty (AUTH), switching to TLS when the server
 * offers STARTTLS. `headers` holds extra header lines, each ending in CR LF (may be empty).
 * Checks that the server accepts the connection and the authentication; 0. */
typedef int32_t SeeSmtpConnectFn(const char* host, int32_t port, const char* from, const char* user,
                                 const char* password, const char* headers);
/* Sends one HTML mail to `to` ("<address>"), copies to `cc` (comma-separated, may be empty),
 * with `subject`, `body` (HTML) and the From text `from_text`; 0. */
typedef int32_t SeeSendHtmlFn(const char* to, const char* cc, const char* subject, const char* body,
                              const char* from_text);
/* Ends the session; 0. */
typedef int32_t SeeCloseFn(void);
/* Releases what seeAttach prepared; 0. */
typedef int32_t SeeReleaseFn(void);
/* Writes the description of `code` into `buffer` (zero-terminated, cut to `size`); its length. */
typedef int32_t SeeErrorTextFn(int32_t code, char* buffer, int32_t size);

#ifdef __cplusplus
}
#endif
