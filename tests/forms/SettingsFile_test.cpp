#include <gtest/gtest.h>

#include "host/forms/SettingsFile.h"

namespace quil {
namespace {

TEST(SettingsFile, EveryValueSurvivesTheStoredText) {
  TSettingsFile settings;
  settings.WriteString("Periode", "Soort", "2");
  settings.WriteDateTime("Periode", "Van", TDateTime(45900.75));
  settings.WriteString("Grid", "Kolommen", "VWK_CODE=80\r\nVWK_VAN=\\60");
  settings.WriteBool("Grid", "Totalen", true);
  settings.WriteFloat("Grid", "Zoom", 0.1);
  settings.WriteString("periode", "SOORT", "3");  // same key, other case: overwritten

  const std::string text = settings.Text();
  EXPECT_EQ(text,
            "[Periode]\nSoort=3\nVan=45900.75\n"
            "[Grid]\nKolommen=VWK_CODE=80\\r\\nVWK_VAN=\\\\60\nTotalen=1\nZoom=0.1\n");
  TSettingsFile back = TSettingsFile::FromText(text);
  EXPECT_EQ(back.Text(), text);
  EXPECT_EQ(back.ReadInteger("PERIODE", "soort", 0), 3);
  EXPECT_EQ(back.ReadDateTime("Periode", "Van", TDateTime()), TDateTime(45900.75));
  EXPECT_EQ(back.ReadString("Grid", "Kolommen", ""), "VWK_CODE=80\r\nVWK_VAN=\\60");
  EXPECT_TRUE(back.ReadBool("Grid", "Totalen", false));
  EXPECT_EQ(back.ReadFloat("Grid", "Zoom", 0), 0.1);
}

TEST(SettingsFile, MissingOrMalformedValuesGiveTheDefault) {
  TSettingsFile settings = TSettingsFile::FromText(
      "zonder sectie=1\n[Periode]\nSoort=twee\nVan=\nlosse regel\n[Leeg]\n");
  EXPECT_EQ(settings.ReadInteger("Periode", "Soort", 7), 7);
  EXPECT_EQ(settings.ReadDateTime("Periode", "Van", TDateTime(5)), TDateTime(5));
  EXPECT_EQ(settings.ReadString("Periode", "Tot", "x"), "x");
  EXPECT_FALSE(settings.ValueExists("", "zonder sectie"));
  EXPECT_EQ(settings.ReadSections(), (std::vector<std::string>{"Periode", "Leeg"}));
  EXPECT_EQ(settings.ReadSection("Periode"), (std::vector<std::string>{"Soort", "Van"}));
  settings.EraseSection("periode");
  settings.DeleteKey("Leeg", "x");
  EXPECT_EQ(settings.Text(), "[Leeg]\n");
}

}  // namespace
}  // namespace quil
