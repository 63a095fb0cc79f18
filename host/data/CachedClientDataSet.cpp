#include "host/data/CachedClientDataSet.h"

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/data/DMQuil.h"

namespace quil {

TQuilCachedClientDataSet::TQuilCachedClientDataSet(TDMQuil* connection, std::string name)
    : TQuilClientDataSet(connection, std::move(name)) {
  ReadOnly = true;
}

DataPacket TQuilCachedClientDataSet::FetchPacket() {
  return Connection()->CachedRecords(GetProvName(), GetParams());
}

void TQuilCachedClientDataSet::RefreshCache() {
  if (Connection() != nullptr) Connection()->DropCache(GetProvName());
  if (Active()) {
    Close();
    Open();
  }
}

int TQuilCachedClientDataSet::GetDefaultID() {
  if (!Active()) Open();
  TField* code = FindField("P_CODE");
  TField* key = FindField(IDField.empty() ? std::string("P_ID") : IDField);
  if (code == nullptr || key == nullptr) return -1;
  Variant id = Lookup("P_CODE", Variant("?"), key->FieldName());
  return id.IsNull() ? -1 : id.AsInteger();
}

namespace {

void SetUpCodedList(TQuilCachedClientDataSet& ds, const char* provider) {
  ds.SetProvName(provider);
  ds.IDField = "P_ID";
  ds.SetSortFields("P_CODE");
}

}  // namespace

TQuilParamClientDataset::TQuilParamClientDataset(TDMQuil* connection, std::string name,
                                                 std::string paramType)
    : TQuilCachedClientDataSet(connection, std::move(name)) {
  SetUpCodedList(*this, "ParmDropDown");
  SetParamType(paramType);
}

void TQuilParamClientDataset::SetParamType(const std::string& paramType) {
  GetParams().Add("P_TYPE").SetAsString(paramType);
}

TVWOParamsClientDataset::TVWOParamsClientDataset(TDMQuil* connection, std::string name,
                                                 std::string paramType)
    : TQuilCachedClientDataSet(connection, std::move(name)) {
  SetUpCodedList(*this, "DSPSelectVWOParamsForCDS");
  SetParamType(paramType);
}

void TVWOParamsClientDataset::SetParamType(const std::string& paramType) {
  GetParams().Add("P_Type").SetAsString(paramType);
}

TInstellingParamClientDataset::TInstellingParamClientDataset(TDMQuil* connection, std::string name,
                                                             std::string paramType)
    : TQuilCachedClientDataSet(connection, std::move(name)) {
  SetUpCodedList(*this, "DSPSelectISParam");
  SetParamType(paramType);
  GetParams().Add("IS_ID", FieldType::Integer);
}

void TInstellingParamClientDataset::SetParamType(const std::string& paramType) {
  GetParams().Add("P_Type").SetAsString(paramType);
}

void TInstellingParamClientDataset::SetInstelling(int isId) {
  GetParams().Add("IS_ID", FieldType::Integer).SetAsInteger(isId);
}

}  // namespace quil
