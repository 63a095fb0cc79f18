#include "web/HostApp.h"

namespace quil::web {

namespace {

// The screens are not served yet: a session shows its user and an empty menu.
class HostApp final : public SessionApp {
 public:
  explicit HostApp(const SessionContext& context) : user_(context.user) {}

  void HandleEvent(const nlohmann::json& event) override {
    throw BadRequest("onbekende gebeurtenis " + event.value("type", std::string("?")));
  }
  nlohmann::json Query(std::string_view name, const nlohmann::json&) override {
    if (name == "menu") return {{"sections", nlohmann::json::array()}};
    throw UnknownQuery(std::string(name));
  }
  nlohmann::json State() override {
    return {{"user", user_.login}, {"forms", nlohmann::json::array()}};
  }

 private:
  User user_;
};

}  // namespace

SessionAppFactory HostAppFactory() {
  return [](const SessionContext& context) { return std::make_unique<HostApp>(context); };
}

}  // namespace quil::web
