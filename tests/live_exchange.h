// A loopback "exchange" for the live service's end-to-end tests: it serves option chains of a
// simulated session at /chains/SYMBOL.json in the exchange's delayed-quote JSON form (no
// timestamp, so each capture is timed by the service's clock), and can move the call wall,
// move open interest on every request, fail, hang, answer garbage or answer too much.
#pragma once

#include <httplib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "text/format.h"

namespace live_exchange {

// What a symbol's chain request gets.
enum class Mode {
  kChain,    // the chain
  kFail,     // 503
  kHang,     // nothing until the test changes the mode or the exchange stops (at most 5 s)
  kGarbage,  // 200 with a page that is no chain
  kTooMuch,  // 200 announcing and streaming 65 MiB, more than a chain may be
};

inline constexpr double kSpot = 521.21;
inline constexpr double kWallOi = 30000;  // on the call wall and on the put wall (510)
inline constexpr double kPutWall = 510;

// The chain of `symbol` with its call wall at `callWall` and `tick` added to one deep call's open
// interest (so that tick 1 and tick 2 are different chains): strikes 490-550 of the 2025-01-02,
// 2025-01-03 and 2025-01-10 expirations around a spot of 521.21.
inline std::string SessionChain(const std::string& symbol, double callWall, int tick) {
  std::string out = "{\"data\":{\"option\":\"" + symbol +
                    "\",\"current_price\":" + text::Format("%.2f", kSpot) + ",\"options\":[";
  bool first = true;
  for (const char* expiry : {"250102", "250103", "250110"}) {
    for (int strike = 490; strike <= 550; ++strike) {
      for (const char kind : {'C', 'P'}) {
        double oi = 800;
        if (kind == 'C' && strike == callWall) oi += kWallOi;
        if (kind == 'P' && strike == kPutWall) oi += kWallOi;
        if (kind == 'C' && strike == 490 && expiry[5] == '0') oi += tick;
        const double iv = 0.45 + 0.002 * std::abs(strike - 521);
        out += text::Format("%s{\"option\":\"%s%s%c%08d\",\"iv\":%.4f,\"open_interest\":%.1f,\"volume\":100}",
                            first ? "" : ",", symbol, expiry, kind, strike * 1000, iv, oi);
        first = false;
      }
    }
  }
  return out + "]}}";
}

class Exchange {
 public:
  Exchange() {
    server_.Get(R"(/chains/([A-Z]+)\.json)",
                [this](const httplib::Request& request, httplib::Response& response) {
                  Serve(request.matches[1].str(), response);
                });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~Exchange() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    server_.stop();
    thread_.join();
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  // "http://127.0.0.1:PORT/chains/{symbol}.json", for the configuration.
  std::string ChainUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/chains/{symbol}.json";
  }
  void SetMode(const std::string& symbol, Mode mode) {
    {
      std::lock_guard lock(mutex_);
      symbols_[symbol].mode = mode;
    }
    changed_.notify_all();
  }
  void SetCallWall(const std::string& symbol, double strike) {
    std::lock_guard lock(mutex_);
    symbols_[symbol].callWall = strike;
  }
  // On: every request of `symbol` brings a chain different from the last.
  void SetMovingOi(const std::string& symbol, bool on) {
    std::lock_guard lock(mutex_);
    symbols_[symbol].moving = on;
  }
  // Chain requests of `symbol` answered or begun so far.
  int Requests(const std::string& symbol) {
    std::lock_guard lock(mutex_);
    return symbols_[symbol].requests;
  }

 private:
  struct Market {
    Mode mode = Mode::kChain;
    double callWall = 525;
    bool moving = false;
    int tick = 0;
    int requests = 0;
  };

  void Serve(const std::string& symbol, httplib::Response& response) {
    std::unique_lock lock(mutex_);
    Market& m = symbols_[symbol];
    ++m.requests;
    if (m.mode == Mode::kHang) {
      changed_.wait_for(lock, std::chrono::seconds(5), [&] { return stopping_ || m.mode != Mode::kHang; });
      response.status = 503;
      return;
    }
    if (m.mode == Mode::kFail) {
      response.status = 503;
      response.set_content("busy", "text/plain");
    } else if (m.mode == Mode::kGarbage) {
      response.set_content("<html><body>Service temporarily unavailable</body></html>", "application/json");
    } else if (m.mode == Mode::kTooMuch) {
      TooMuch(response);
    } else {
      if (m.moving) ++m.tick;
      response.set_content(SessionChain(symbol, m.callWall, m.tick), "application/json");
    }
  }

  // Streams until the client gives up or 65 MiB have gone.
  static void TooMuch(httplib::Response& response) {
    constexpr size_t kBytes = size_t{65} << 20;
    response.set_content_provider(kBytes, "application/json",
                                  [](size_t offset, size_t length, httplib::DataSink& sink) {
                                    static const std::string chunk(size_t{1} << 20, ' ');
                                    (void)offset;
                                    return sink.write(chunk.data(), std::min(length, chunk.size()));
                                  });
  }

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::map<std::string, Market> symbols_;
};

}  // namespace live_exchange
