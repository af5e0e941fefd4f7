#pragma once
// What the settings sheets' tests share: a temporary home whose settings file
// is the program's, the headless user interface with scripts per sheet, every
// page over one record in a sheet of the test's own, and what a page paints
// into a swatch frame.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/AppSettingSheet.h"
#include "core/ProgramSetting.h"
#include "core/SettingSheetPages.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/RecordingCanvas.h"
#include "resources/SettingPages.h"
#include "tests/support/TempHome.h"

namespace qova::test {

using platform::ui::DialogDriver;
using platform::ui::SheetDriver;

// A settings store that writes every value as one "section/key=value" line.
class TranscriptStore : public platform::SettingsStore {
 public:
  std::optional<std::string> Get(std::string_view, std::string_view) const override { return std::nullopt; }
  bool Set(std::string_view section, std::string_view key, std::string_view value) override {
    text += std::string(section) + "/" + std::string(key) + "=" + std::string(value) + "\n";
    return true;
  }
  std::string text;
};

// Every stored value of a record, and the fields kept for the run only.
inline std::string Fingerprint(const CProgramSetting& s) {
  platform::Profile profile;
  auto store = std::make_unique<TranscriptStore>();
  TranscriptStore& transcript = *store;
  profile.SetStore(std::move(store));
  (void)s.SaveToProfile(profile);
  return transcript.text + platform::Format("NONSELFALLELE=%d scroll=%d panel=%d amplitude=%g window=%d\n",
                                            s.NONSELFALLELE, s.ScrollMultiple, s.PanelDrawFlag,
                                            double(s.AlleleAmplitude), s.MovingAverageWindow);
}

// Every page over one record, in a sheet of the test's own ("All pages"):
// the program sheet's thirteen, then Association and Extra.
struct AllPages {
  enum Tab {
    kFolders, kDisplay, kPrint, kItems, kItemMulti, kColor, kColor2, kScale, kColorM, kIntegrate, kMarker,
    kAuto, kZenkor, kAssociation, kExtra
  };
  explicit AllPages(CProgramSetting& s) : program(s, s.NONSELFALLELE), association(&s), extra(&s) {}
  void AddTo(CPropertySheet& sheet) {
    program.AddTo(sheet);
    sheet.AddPage(&association);
    sheet.AddPage(&extra);
  }
  qova::core::ProgramSettingPages program;
  CSettingAssociation association;
  CSettingExtra extra;
};

class SettingSheetTest : public TempHomeTest {
 protected:
  SettingSheetTest() {
    platform::ui::SetBackend(nullptr);
    Ui().Reset();
    platform::AppProfile().UseSettingsFile();
  }
  ~SettingSheetTest() override {
    Ui().Reset();
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
    qova::core::SetLiveProgramSetting(nullptr);
  }

  static platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }
  [[nodiscard]] std::string SettingsFile() const { return platform::DefaultSettingsPath(); }
  [[nodiscard]] std::string SettingsBytes() const {
    std::string bytes;
    (void)platform::ReadWholeFile(SettingsFile(), bytes);
    return bytes;
  }

  // Runs every page over `setting` in the test's own sheet; the script's
  // last act should close it.
  int RunAllPages(CProgramSetting& setting, const std::function<void(SheetDriver&)>& script) {
    Ui().OnSheet("All pages", script);
    AllPages pages(setting);
    CPropertySheet sheet("All pages");
    pages.AddTo(sheet);
    return int(sheet.DoModal());
  }

  // Opens tab `tab` of the sheet and returns its page; fails the test when
  // the current page refuses to be left.
  static DialogDriver Open(SheetDriver& sheet, int tab) {
    EXPECT_TRUE(sheet.SelectPage(tab)) << "tab " << tab;
    return sheet.Page();
  }
  // Sets an edit's text as the program would (read-only edits too).
  static void SetText(const DialogDriver& page, UINT id, const std::string& text) {
    page.Window().GetDlgItem(int(id))->SetWindowText(text);
  }

  platform::ScopedRecordingSink messages_;
};

// The frame control's rectangle in its page's client coordinates.
inline CRect FrameRect(DialogDriver& page, UINT frame) {
  CRect r;
  page.Window().GetDlgItem(int(frame))->GetWindowRect(&r);
  page.Window().ScreenToClient(&r);
  return r;
}

// What the page painted into a swatch frame: the fill covering it, or the
// line across its middle; null when nothing.
inline const platform::ui::DrawRecord* SwatchDrawing(const platform::ui::Picture& picture, const CRect& frame) {
  for (const platform::ui::DrawRecord& r : picture.records) {
    if (r.op == platform::ui::DrawOp::FillRect && r.Rect() == frame) return &r;
    if (r.op == platform::ui::DrawOp::Line && r.x1 == frame.left && r.y1 == (frame.top + frame.bottom) / 2 &&
        r.y2 == r.y1)
      return &r;
  }
  return nullptr;
}

}  // namespace qova::test
