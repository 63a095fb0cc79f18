// How a screen declares the fields of a dataset: data fields of the provider's packet, calculated
// fields, lookup fields and bit fields, each with the label the user sees, in one list.
//
//   DeclareFields(CDSVWOMaterialen,
//                 {DataField("VWM_CODE", "Code"),
//                  DataField("VWM_PRIJS", "Prijs").Format("0.00"),
//                  BitField("Actief", "Actief", "VWM_FLAGS", kBitActief),
//                  LookupField("ALGEMENEREKENING", "Algemene rekening", "VWM_ZEVENREKENING_FK",
//                              CDSAlgemeneRekeningen, "P_ID", "P_OMSCHRIJVING")});
//
// A declared data field takes its type and size from the packet when the dataset opens, and keeps
// what was declared (label, visibility, required, format) on every open; a declared data field
// the packet lacks makes the open fail. Grid columns and bound editors show the field's label
// unless the screen gives them a caption of their own. Declarations are made while the dataset
// is closed, usually in the screen's constructor.
#pragma once

#include <initializer_list>
#include <string>

#include "host/data/ClientDataSet.h"
#include "host/data/Field.h"

namespace quil {

//! One declared field. Built with DataField, CalculatedField, LookupField or BitField and
//! refined with the setters, which return the declaration.
struct FieldDeclaration {
  FieldKind kind = FieldKind::Data;
  std::string name;
  std::string label;
  FieldType type = FieldType::String;  //!< calculated and lookup fields; data fields: the packet's
  int size = 0;                        //!< calculated text fields
  bool visible = true;
  bool required = false;
  bool readOnly = false;
  std::string displayFormat;
  // Lookup fields: the record of `lookupDataSet` whose `lookupKey` equals this dataset's
  // `keyField` gives `lookupResult`.
  std::string keyField;
  TQuilClientDataSet* lookupDataSet = nullptr;
  std::string lookupKey;
  std::string lookupResult;
  // Bit fields: bit `bit` of the integer field `bitOfField`.
  std::string bitOfField;
  int bit = 0;

  FieldDeclaration& Hidden() {
    visible = false;
    return *this;
  }
  FieldDeclaration& Required() {
    required = true;
    return *this;
  }
  FieldDeclaration& ReadOnly() {
    readOnly = true;
    return *this;
  }
  FieldDeclaration& Format(std::string format) {
    displayFormat = std::move(format);
    return *this;
  }
};

//! A field of the provider's packet.
FieldDeclaration DataField(std::string name, std::string label);
//! A field the dataset's OnCalcFields fills.
FieldDeclaration CalculatedField(std::string name, std::string label, FieldType type, int size = 0);
//! A value of another dataset found by key; read-only.
FieldDeclaration LookupField(std::string name, std::string label, std::string keyField,
                             TQuilClientDataSet& lookupDataSet, std::string lookupKey,
                             std::string lookupResult, FieldType type = FieldType::String);
//! A boolean view of one bit of an integer field.
FieldDeclaration BitField(std::string name, std::string label, std::string integerField, int bit);

//! Adds one declared field to the dataset and returns it.
TField& DeclareField(TQuilClientDataSet& dataset, const FieldDeclaration& declaration);
//! Adds the declared fields in order.
void DeclareFields(TQuilClientDataSet& dataset,
                   std::initializer_list<FieldDeclaration> declarations);

}  // namespace quil
