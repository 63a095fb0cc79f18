// The calls dialog through the generic renderer: header, the object's calls in words and the
// action to send a call again, as the browser receives them.
#include <gtest/gtest.h>

#include "common/TestDatabase.h"
#include "host/data/DMQuil.h"
#include "host/domain/Departementconst.h"
#include "host/forms/Dlgdepartementcalls.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "server/AppServer.h"
#include "server/db/Schema.h"
#include "server/seed/DemoData.h"
#include "web/FormRenderer.h"

namespace quil::web::testing {
namespace {

TEST(DavinciCallsDialogRender, ShowsHeaderCallsInWordsAndTheAction) {
  auto db = testdb::FreshDatabase(testdb::Content::Demo);
  server::AppServer appServer(std::move(db), 1);
  TDMQuil dm(appServer);
  ScriptedDialogs dialogs;
  TQuilApplication app(dm, dialogs);
  TDepartementCallsDialog dialog(app, DavinciCallTexts());
  dialog.SetHeader("Davinci communicatie voor klas %s %s", {"LIN-X", "Een klas"});
  dialog.InitData(dm, "DSPDavinciModuleVar", "IMV_ID=8");
  dialog.UpdateActions();

  const std::string form = RenderForm(dialog).dump();
  EXPECT_NE(form.find("Davinci communicatie voor klas LIN-X Een klas"), std::string::npos);
  EXPECT_NE(form.find("\"Opnieuw versturen\""), std::string::npos);
  const std::string rows = RenderRows(dialog.GridCalls, 0, 10).dump();
  EXPECT_NE(rows.find("Modulevariant aanmelden"), std::string::npos) << rows;
  EXPECT_NE(rows.find("Mislukt"), std::string::npos) << rows;
  EXPECT_NE(rows.find("Geen verbinding met Davinci (Connection)"), std::string::npos) << rows;
  EXPECT_TRUE(dialog.AOpnieuwVersturen.Enabled);
}

}  // namespace
}  // namespace quil::web::testing
