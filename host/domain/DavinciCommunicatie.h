// The Davinci communication request: how a screen shows the user the Davinci calls of one
// object.
//
// It creates the host's calls dialog, gives it the header (a format with %s and its values,
// each value a text), lists the calls that the provider gives for the object the key text
// selects ("IMV_ID=12,SC_ID=3"), shows it modally and frees it afterwards, also when showing
// fails. A malformed key text is a client error raised before the dialog is shown. Runs on the
// session's UI thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quil {

class TQuilDBForm;

//! `centred` false lets the host place the dialog (the double clicks of the synchronisation
//! lists); every other use centres it on the screen.
void DavinciCommunicatieRequest(TQuilDBForm& screen, std::string_view headerFormat,
                                const std::vector<std::string>& headerValues,
                                std::string_view provider, std::string_view keyText,
                                bool centred = true);

}  // namespace quil
