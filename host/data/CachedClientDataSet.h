// Read-only lists cached per session, and the coded-value lists built on them.
//
// A cached list fetches its packet once per session for the same provider and parameter values;
// every later open answers from the session's cache until RefreshCache. Coded values are the rows
// of one parameter type (`P_Type`) with `P_ID`, `P_CODE` and `P_OMSCHRIJVING`; the entry whose
// code is "?" is the default.
#pragma once

#include <string>

#include "host/data/ClientDataSet.h"

namespace quil {

class TQuilCachedClientDataSet : public TQuilClientDataSet {
 public:
  explicit TQuilCachedClientDataSet(TDMQuil* connection = nullptr, std::string name = "");

  //! Drops this provider's cached packets and reloads when open.
  void RefreshCache();
  //! The `P_ID` (or IDField) of the record whose `P_CODE` is "?"; -1 when there is none.
  int GetDefaultID();

 protected:
  DataPacket FetchPacket() override;
};

//! Coded values of the host's general parameter list (provider "ParmDropDown", `P_TYPE`).
class TQuilParamClientDataset : public TQuilCachedClientDataSet {
 public:
  TQuilParamClientDataset(TDMQuil* connection = nullptr, std::string name = "",
                          std::string paramType = "");
  void SetParamType(const std::string& paramType);
};

//! Coded values of the adult-education parameters ("DSPSelectVWOParamsForCDS", `P_Type`).
class TVWOParamsClientDataset : public TQuilCachedClientDataSet {
 public:
  TVWOParamsClientDataset(TDMQuil* connection = nullptr, std::string name = "",
                          std::string paramType = "");
  void SetParamType(const std::string& paramType);
};

//! Coded values of one institution ("DSPSelectISParam", `P_Type` and `IS_ID`).
class TInstellingParamClientDataset : public TQuilCachedClientDataSet {
 public:
  TInstellingParamClientDataset(TDMQuil* connection = nullptr, std::string name = "",
                                std::string paramType = "");
  void SetParamType(const std::string& paramType);
  void SetInstelling(int isId);
};

}  // namespace quil
