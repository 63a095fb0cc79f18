#include "server/davinci/DavinciSender.h"

#include <unistd.h>

#include <httplib.h>

#include <atomic>
#include <iostream>
#include <stdexcept>

#include "host/data/DavinciCalls.h"
#include "server/davinci/DavinciProtocol.h"

namespace quil::server {

namespace {

//! Numbers the senders of this process, so that each has a name of its own.
std::atomic<int> senderCount{0};

std::string SenderName() {
  char host[64] = {};
  gethostname(host, sizeof host - 1);
  std::string name = std::string(host).substr(0, 20) + ":" + std::to_string(getpid()) + ":" +
                     std::to_string(++senderCount);
  return name.substr(0, 40);
}

//! "http://host:port/base" -> ("http://host:port", "/base").
std::pair<std::string, std::string> SplitEndpoint(const std::string& endpoint) {
  const size_t scheme = endpoint.find("://");
  const size_t path = endpoint.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  if (path == std::string::npos) return {endpoint, ""};
  std::string base = endpoint.substr(path);
  while (!base.empty() && base.back() == '/') base.pop_back();
  return {endpoint.substr(0, path), base};
}

}  // namespace

struct DavinciSender::Http {
  Http(const std::string& origin, std::string basePath)
      : client(origin), path(std::move(basePath) + kCallsPath) {}
  httplib::Client client;
  std::string path;
};

DavinciSender::DavinciSender(std::unique_ptr<Database> db, DavinciSenderOptions options)
    : db_(std::move(db)), options_(std::move(options)), name_(SenderName()) {
  auto [origin, base] = SplitEndpoint(options_.endpoint);
  http_ = std::make_unique<Http>(origin, base);
  if (!http_->client.is_valid()) {
    throw std::invalid_argument("Ongeldig Davinci-adres: " + options_.endpoint);
  }
  http_->client.set_connection_timeout(options_.connectTimeout);
  http_->client.set_read_timeout(options_.readTimeout);
  http_->client.set_write_timeout(options_.readTimeout);
}

DavinciSender::~DavinciSender() {
  Stop();
}

TDateTime DavinciSender::NowTime() const {
  return options_.clock ? options_.clock() : Now();
}

void DavinciSender::Start() {
  stopping_ = false;
  thread_ = std::thread([this] { Run(); });
}

void DavinciSender::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  http_->client.stop();
  thread_.join();
}

bool DavinciSender::SendNext() {
  const TDateTime now = NowTime();
  const double claimDays = static_cast<double>(options_.claim.count()) / 86400.0;
  std::optional<WaitingCall> call = TakeNextWaitingCall(*db_, name_, now, now + claimDays);
  if (!call) return false;
  if (stopping_) {
    ReleaseCall(*db_, *call, name_);
    return true;
  }
  const CallOutcome outcome = Deliver(*call);
  if (stopping_) {
    // Interrupted by Stop: whatever came back is not an answer of Davinci's.
    ReleaseCall(*db_, *call, name_);
    return true;
  }
  RecordCallOutcome(*db_, *call, name_, outcome, NowTime(), options_.retry);
  ++sent_;
  return true;
}

CallOutcome DavinciSender::Deliver(const WaitingCall& call) {
  std::string message;
  try {
    message = CallMessage(call);
  } catch (const std::invalid_argument& e) {
    // Sending it again cannot help: the call's own data are wrong.
    return {.kind = CallOutcome::Kind::Refused,
            .foutcode = davinci::foutcode::kRegel,
            .error = e.what()};
  }
  httplib::Headers headers = {{"Idempotency-Key", std::to_string(call.id)}};
  httplib::Result result = http_->client.Post(http_->path, headers, message, "application/json");
  if (!result) {
    return {.kind = CallOutcome::Kind::Failed,
            .foutcode = davinci::foutcode::kVerbinding,
            .error = "Geen verbinding met Davinci (" + httplib::to_string(result.error()) + ")"};
  }
  return ReadAnswer(result->status, result->body);
}

void DavinciSender::Run() {
  while (!stopping_) {
    bool sent = false;
    try {
      sent = SendNext();
    } catch (const std::exception& e) {
      // A busy or unreachable database: the call stays waiting; try again after a pause.
      ++errors_;
      std::cerr << "Davinci-zender: " << e.what() << "\n";
    }
    if (sent) continue;
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, options_.idle, [this] { return stopping_.load(); });
  }
}

}  // namespace quil::server
