// The chart page's server on loopback (cpp-httplib): the page and its script and style, the
// frames pushed to the page as server-sent events, and the page's changes handed to the
// session. Every request passes the request guard first.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "web/form_body.h"

namespace web {

// The outcome of a change the page asked for: a status (200, or 4xx with nothing changed)
// and a short text for the page.
struct Reply {
  int status = 200;
  std::string text = "ok";
};

// The changes the page may send, by path under /api/; each gets the form fields of the body.
struct ChangeHandlers {
  std::function<Reply(const FormFields&)> press;    // /api/press  x, y
  std::function<Reply(const FormFields&)> input;    // /api/input  label, value
  std::function<Reply(const FormFields&)> colour;   // /api/colour number, colour
  std::function<Reply(const FormFields&)> view;     // /api/view   first, last [low, high | fit]
  std::function<Reply(const FormFields&)> size;     // /api/size   width, height
  std::function<Reply(const FormFields&)> history;  // /api/history on (0 or 1); none: 404
};

// Event streams open at once at most; more are refused with 503.
inline constexpr int kMaxEventStreams = 8;
// Bytes a change's body may hold; a larger one is refused with 413 and a reason. cpp-httplib
// refuses form bodies over 8 KiB by itself (a limit built into Debian's library), so this
// cannot be more.
inline constexpr size_t kMaxChangeBodyBytes = 8 * 1024;

class PageServer {
 public:
  // Requires: the handlers are safe to call from the server's threads.
  explicit PageServer(ChangeHandlers handlers);
  // Stops the server when it still runs.
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  // Binds 127.0.0.1 at `port` (0: any free port) and serves on its own threads; returns at
  // once. False with a reason when the port cannot be bound.
  bool Start(int port, std::string* error);
  // Ends open event streams and connections and the server, and joins its threads, whatever
  // the clients do. No effect when not running.
  void Stop();

  // "http://127.0.0.1:PORT/"; empty while not running.
  std::string Address() const;
  int Port() const;

  // Makes `frameJson` the page's current frame and sends it to every open event stream (and
  // to each stream that opens later, first thing).
  void Publish(std::string frameJson);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace web
