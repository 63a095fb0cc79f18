#include "host/data/DMQuil.h"

#include "host/base/Strings.h"

namespace quil {

TDMQuil::TDMQuil(std::unique_ptr<IAppServer> server)
    : owned_(std::move(server)), server_(owned_.get()) {}

TDMQuil::TDMQuil(IAppServer& server) : server_(&server) {}

int TDMQuil::GetUserID() {
  if (userId_ < 0) userId_ = server_->GetUserID();
  return userId_;
}

const TQuildminDBParams& TDMQuil::GetQuilDBParams() {
  if (!haveParams_) {
    params_ = server_->GetQuilDBParams();
    haveParams_ = true;
  }
  return params_;
}

namespace {

std::string CacheKey(std::string_view provider, const Params& params) {
  std::string key = UpperCaseAscii(provider);
  for (const TParam& p : params) {
    key += '\x1f';
    key += UpperCaseAscii(p.name);
    key += '=';
    key += p.value.IsNull() ? std::string("\x1e") : p.value.AsString();
  }
  return key;
}

}  // namespace

const DataPacket& TDMQuil::CachedRecords(std::string_view provider, const Params& params) {
  std::string key = CacheKey(provider, params);
  auto it = cache_.find(key);
  if (it == cache_.end()) {
    it = cache_.emplace(key, server_->GetRecords(provider, params)).first;
  }
  return it->second;
}

void TDMQuil::DropCache(std::string_view provider) {
  if (provider.empty()) {
    cache_.clear();
    return;
  }
  std::string prefix = UpperCaseAscii(provider) + '\x1f';
  std::string exact = UpperCaseAscii(provider);
  std::erase_if(cache_, [&](const auto& entry) {
    return entry.first == exact || entry.first.rfind(prefix, 0) == 0;
  });
}

JobData CreateJobData(std::initializer_list<Variant> values) {
  return JobData{values};
}

}  // namespace quil
