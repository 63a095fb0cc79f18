#include "host/data/FieldDeclarations.h"

namespace quil {

FieldDeclaration DataField(std::string name, std::string label) {
  FieldDeclaration declaration;
  declaration.name = std::move(name);
  declaration.label = std::move(label);
  return declaration;
}

FieldDeclaration CalculatedField(std::string name, std::string label, FieldType type, int size) {
  FieldDeclaration declaration = DataField(std::move(name), std::move(label));
  declaration.kind = FieldKind::Calculated;
  declaration.type = type;
  declaration.size = size;
  return declaration;
}

FieldDeclaration LookupField(std::string name, std::string label, std::string keyField,
                             TQuilClientDataSet& lookupDataSet, std::string lookupKey,
                             std::string lookupResult, FieldType type) {
  FieldDeclaration declaration = DataField(std::move(name), std::move(label));
  declaration.kind = FieldKind::Lookup;
  declaration.type = type;
  declaration.keyField = std::move(keyField);
  declaration.lookupDataSet = &lookupDataSet;
  declaration.lookupKey = std::move(lookupKey);
  declaration.lookupResult = std::move(lookupResult);
  return declaration;
}

FieldDeclaration BitField(std::string name, std::string label, std::string integerField, int bit) {
  FieldDeclaration declaration = DataField(std::move(name), std::move(label));
  declaration.kind = FieldKind::Bit;
  declaration.type = FieldType::Boolean;
  declaration.bitOfField = std::move(integerField);
  declaration.bit = bit;
  return declaration;
}

TField& DeclareField(TQuilClientDataSet& dataset, const FieldDeclaration& d) {
  TField* field = nullptr;
  switch (d.kind) {
    case FieldKind::Data:
      field = &dataset.AddField(FieldDef{d.name}, FieldKind::Data);
      break;
    case FieldKind::Calculated:
      field = &dataset.AddField(FieldDef{d.name, d.type, d.size}, FieldKind::Calculated);
      break;
    case FieldKind::Lookup:
      field = &dataset.AddLookupField(d.name, d.type, d.keyField, *d.lookupDataSet, d.lookupKey,
                                      d.lookupResult);
      break;
    case FieldKind::Bit:
      field = &dataset.AddBitField(d.name, d.bitOfField, d.bit);
      break;
  }
  field->DisplayLabel = d.label;
  field->Visible = d.visible;
  field->Required = d.required;
  field->ReadOnly = field->ReadOnly || d.readOnly;
  field->DisplayFormat = d.displayFormat;
  return *field;
}

void DeclareFields(TQuilClientDataSet& dataset,
                   std::initializer_list<FieldDeclaration> declarations) {
  for (const FieldDeclaration& declaration : declarations) DeclareField(dataset, declaration);
}

}  // namespace quil
