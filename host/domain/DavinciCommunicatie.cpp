#include "host/domain/DavinciCommunicatie.h"

#include <memory>

#include "host/domain/Departementconst.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "host/forms/QuilForm.h"

namespace quil {

void DavinciCommunicatieRequest(TQuilDBForm& screen, std::string_view headerFormat,
                                const std::vector<std::string>& headerValues,
                                std::string_view provider, std::string_view keyText, bool centred) {
  // Without an owner: the dialog lives exactly as long as this request.
  auto dialog = std::make_unique<TDepartementCallsDialog>(screen.Application(), DavinciCallTexts());
  dialog->CenterOnScreen = centred;
  dialog->SetHeader(headerFormat, headerValues);
  dialog->InitData(screen.GetConnection(), provider, keyText);
  dialog->ShowModal();
}

}  // namespace quil
