#include "host/data/DataSource.h"

#include <algorithm>

#include "host/data/ClientDataSet.h"

namespace quil {

TDataSource::TDataSource(TQuilClientDataSet* dataset, std::string name) : Name(std::move(name)) {
  SetDataSet(dataset);
}

TDataSource::~TDataSource() {
  if (dataset_) dataset_->DetachDataSource(this);
  // Details linked to this source forget their master instead of keeping a dangling link.
  for (TQuilClientDataSet* detail : details_) detail->MasterGone();
}

void TDataSource::SetDataSet(TQuilClientDataSet* dataset) {
  if (dataset_ == dataset) return;
  if (dataset_) dataset_->DetachDataSource(this);
  dataset_ = dataset;
  if (dataset_) dataset_->AttachDataSource(this);
}

int TDataSource::AddListener(Listener listener) {
  int handle = nextHandle_++;
  listeners_.emplace_back(handle, std::move(listener));
  return handle;
}

void TDataSource::RemoveListener(int handle) {
  std::erase_if(listeners_, [handle](const auto& entry) { return entry.first == handle; });
}

void TDataSource::Notify(DataEvent event, TField* field) {
  if (!Enabled) return;
  // A listener may add or remove listeners (a detail reopening); iterate over a copy.
  auto listeners = listeners_;
  for (auto& [handle, listener] : listeners) listener(event, field);
}

void TDataSource::AddDetail(TQuilClientDataSet* detail) {
  details_.push_back(detail);
}

void TDataSource::RemoveDetail(TQuilClientDataSet* detail) {
  std::erase(details_, detail);
}

}  // namespace quil
