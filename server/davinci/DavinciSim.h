// DavinciSim: a stand-in for the registration service on a loopback address, for tests and
// demonstrations (`kavel davinci-sim`).
//
// It answers calls (DavinciProtocol.cpp) as the service would: a well-formed call is accepted
// and gets a Davinci id and a concurrency token; a call that breaks a rule is refused with an
// error code and text; a call id it has seen before gets the same answer again and is counted
// once. It can be told to fail (every call answers 503) or to be slow (every answer waits), in
// its options or at run time through POST /sim/instellingen {"storing": bool, "vertragingMs": n};
// GET /sim/status reports its counters and settings. The rules: docs/davinci.md.
//
// Thread-safe: requests are served by a pool of threads; the setters may be called from any
// thread.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace quil::server {

struct DavinciSimOptions {
  bool storing = false;                //!< answer every call with 503
  std::chrono::milliseconds delay{0};  //!< wait this long before every answer
};

struct DavinciSimCounts {
  long received = 0;  //!< call requests, repeats included
  long accepted = 0;  //!< distinct calls accepted
  long refused = 0;   //!< distinct calls refused
  long failed = 0;    //!< requests answered 503
};

class DavinciSim {
 public:
  explicit DavinciSim(DavinciSimOptions options = {});
  ~DavinciSim();
  DavinciSim(const DavinciSim&) = delete;
  DavinciSim& operator=(const DavinciSim&) = delete;

  //! Binds the address; port 0 takes a free one. Returns the port; throws when it cannot bind.
  int Bind(const std::string& address, int port);
  //! Serves until Stop (blocking).
  void Serve();
  //! Serves on a thread of its own until Stop.
  void Start();
  void Stop();

  void SetStoring(bool storing);
  void SetDelay(std::chrono::milliseconds delay);
  DavinciSimCounts Counts() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quil::server
