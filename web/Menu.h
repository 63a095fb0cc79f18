// The menu the browser shows: the form manager's menu tree with only the screens the user may
// open (bit 0 of the user's rights on the class), and without sections that keep nothing.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

namespace quil::web {

//! {"sections": [{caption, items: [{caption, class} | {caption, items}]}]}; `mayOpen` is asked
//! once per class.
nlohmann::json RenderMenu(const std::function<bool(const std::string& formClass)>& mayOpen);

}  // namespace quil::web
