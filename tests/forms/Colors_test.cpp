// Stored colours (blue-green-red, or a system colour) as controls and the browser see them, and
// the colour button that lets the user pick one.
#include "host/forms/Colors.h"
#include "forms/FormsFixture.h"

namespace quil::testing {
namespace {

TEST(ColorsTest, StoredColoursAndRgbAreMirrorImages) {
  struct Case {
    TColor stored;
    int32_t rgb;
    const char* html;
  };
  const Case cases[] = {
      {clBlack, 0x000000, "#000000"},    {clWhite, 0xFFFFFF, "#ffffff"},
      {clRed, 0xFF0000, "#ff0000"},      {clYellow, 0xFFFF00, "#ffff00"},
      {0x004080FF, 0xFF8040, "#ff8040"},  // orange
      {0x00123456, 0x563412, "#563412"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_FALSE(IsSystemColor(c.stored));
    EXPECT_EQ(ColorToRGB(c.stored), c.rgb);
    EXPECT_EQ(RGBToColor(c.rgb), c.stored);
    EXPECT_EQ(ColorToHtml(c.stored), c.html);
    TColor parsed = clWindow;
    ASSERT_TRUE(HtmlToColor(c.html, parsed));
    EXPECT_EQ(parsed, c.stored);
  }
}

TEST(ColorsTest, SystemColoursAreDrawnFromTheHostsPalette) {
  struct Case {
    TColor stored;
    int32_t rgb;
  };
  const Case cases[] = {
      {clWindow, 0xFFFFFF},
      {clBtnFace, 0xF0F0F0},
      {static_cast<TColor>(0xFF000008u), 0x000000},  // window text
      {static_cast<TColor>(0xFF0000FEu), 0xFFFFFF},  // unknown index: white
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ColorToHtml(c.stored));
    EXPECT_TRUE(IsSystemColor(c.stored));
    EXPECT_EQ(ColorToRGB(c.stored), c.rgb);
  }
  // Parsing what a system colour shows gives a plain colour: the system index is not kept.
  TColor parsed = clWindow;
  ASSERT_TRUE(HtmlToColor(ColorToHtml(clWindow), parsed));
  EXPECT_EQ(parsed, clWhite);
  EXPECT_FALSE(IsSystemColor(parsed));
}

TEST(ColorsTest, OnlySevenCharacterHexTextsAreColours) {
  TColor parsed = 0;
  ASSERT_TRUE(HtmlToColor("#Ff8040", parsed));
  EXPECT_EQ(parsed, 0x004080FF);
  for (const char* text : {"", "#", "ff8040", "#ff804", "#ff80400", "#gg8040", "# f8040",
                           "#ff8040 ", "0xff8040", "#-f8040", "#+f8040"}) {
    SCOPED_TRACE(text);
    TColor untouched = clBtnFace;
    EXPECT_FALSE(HtmlToColor(text, untouched));
    EXPECT_EQ(untouched, clBtnFace);
  }
}

TEST_F(SessionTest, TheColourButtonReportsOnlyAChangedChoice) {
  TQuilForm form(app, "TKleurTestForm");
  auto& button = form.Add<TColorButton>("BtnKleur");
  int changes = 0;
  button.OnChange = [&] { ++changes; };
  EXPECT_EQ(button.SelectedColor(), clWindow);
  EXPECT_EQ(button.ValueText(), "#ffffff");

  button.SetSelectedColor(clRed);  // the screen following its record
  EXPECT_EQ(changes, 0);
  struct Case {
    const char* typed;
    TEventResult result;
    TColor shown;
    int changes;
  };
  const Case cases[] = {
      {"#ff0000", TEventResult::Done, clRed, 0},  // the colour it shows already
      {"#FFFF00", TEventResult::Done, clYellow, 1},
      {"#ffff00", TEventResult::Done, clYellow, 1},
      {"geel", TEventResult::ClientError, clYellow, 1},
      {"#ff8040", TEventResult::Done, 0x004080FF, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(app.SetValue(form, "BtnKleur", c.typed), c.result);
    EXPECT_EQ(button.SelectedColor(), c.shown);
    EXPECT_EQ(changes, c.changes);
  }
  EXPECT_EQ(dialogs.Transcript(), "error: 'geel' is geen kleur\n");

  button.ChooseColor(clWindow);
  EXPECT_EQ(changes, 3);
  button.ChooseColor(clWindow);
  EXPECT_EQ(changes, 3);
  // White is drawn like the window colour, yet it is another stored colour: a change.
  button.ChooseColor(clWhite);
  EXPECT_EQ(changes, 4);
}

}  // namespace
}  // namespace quil::testing
