// TBrowseVWOStructInstellingForm: the institutions list that is the default master of the
// structure screens (programme variants, module groups, classes, certificates, materials, lesson
// places, absence codes, modules), which it also opens through its form links.
#pragma once

#include "host/forms/BrowseVWOInstellingForm.h"

namespace kavel {

class TBrowseVWOStructInstellingForm : public quil::TBrowseVWOInstellingForm {
 public:
  explicit TBrowseVWOStructInstellingForm(quil::TQuilApplication& app)
      : TBrowseVWOInstellingForm(app, "TBrowseVWOStructInstellingForm") {}
};

namespace frmBrowseVWOStructInstelling {
void Initialization();
}

}  // namespace kavel
