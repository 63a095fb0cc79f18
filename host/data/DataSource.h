// TDataSource: the link between a dataset and what shows it (grids, editors, detail datasets).
//
// A data source refers to a dataset it does not own. Listeners registered on it hear about data
// changes (records, order, current record) and state changes while the source is Enabled and the
// dataset's controls are not disabled. A source unhooks itself from its dataset when destroyed,
// and a dataset clears the sources pointing at it when it goes first.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quil {

class TQuilClientDataSet;
class TField;

enum class DataEvent {
  DataSetChanged,  //!< records, order, filter or activity changed
  Scrolled,        //!< the current record is another one
  RecordChanged,   //!< a field of the current record changed (field given)
  StateChanged,    //!< browse/edit/insert/inactive
};

class TDataSource {
 public:
  using Listener = std::function<void(DataEvent, TField*)>;

  explicit TDataSource(TQuilClientDataSet* dataset = nullptr, std::string name = "");
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  std::string Name;
  bool Enabled = true;

  TQuilClientDataSet* DataSet() const { return dataset_; }
  void SetDataSet(TQuilClientDataSet* dataset);

  //! Returns a handle for RemoveListener.
  int AddListener(Listener listener);
  void RemoveListener(int handle);

 private:
  friend class TQuilClientDataSet;
  void Notify(DataEvent event, TField* field);
  void DataSetGone() { dataset_ = nullptr; }
  void AddDetail(TQuilClientDataSet* detail);
  void RemoveDetail(TQuilClientDataSet* detail);

  TQuilClientDataSet* dataset_ = nullptr;
  std::vector<TQuilClientDataSet*> details_;  //!< datasets whose master this source is
  std::vector<std::pair<int, Listener>> listeners_;
  int nextHandle_ = 1;
};

}  // namespace quil
