// The commands that act on the one sample the main view shows (Output Raw
// Data, Output IGB Files, EditMarker, Sample infomation): the menu offers them
// only while a single sample is shown, and one sent anyway in the grid, the
// integral view or with nothing shown writes nothing, although the document
// still holds the sample shown before.
#include <filesystem>
#include <memory>

#include "analysis/IntegrationData.h"
#include "platform/Paths.h"
#include "platform/ui/Menu.h"
#include "resources/CommandIds.h"
#include "tests/views/multiple/MultipleViewTestSupport.h"
#include "tools/datagen/DataGen.h"

namespace qova::test {
namespace {

namespace res = qova::resources;

enum class Shown { OneSample, Grid, Integral, Nothing };

class SingleViewCommandsTest : public MultipleViewTest {
 protected:
  SingleViewCommandsTest() {
    doc_->OutputFolder = Path("out/");
    std::filesystem::create_directories(Path("out"));
  }

  // From Tumour01 on show, as the user leaves it: to another sample, to the
  // grid of three, to an integration, or to a sample whose annotation table
  // is not loaded, which the view cannot draw.
  void Show(Shown shown) {
    Open("Tumour01", ".CFS");
    doc_->UpdateAllViews(nullptr);
    switch (shown) {
      case Shown::OneSample:
        Open("Tumour02", ".CFN");
        break;
      case Shown::Grid:
        ListThree();
        break;
      case Shown::Integral: {
        auto integration = std::make_shared<IntegrationData>(global_);
        integration->Mode = "AddDel";
        integration->Order = "ID";
        integration->SampleNames = {"Tumour01"};
        integration->Segments = {{0, 1000000, 2000000, 1, 1}};
        doc_->Integration = integration;
        doc_->Status = kStatusIntegrate;
        break;
      }
      case Shown::Nothing:
        Open("Tumour02", ".CFN");
        global_.BasicData[0].Allocate(qova::core::kArrayFamilies[0].snpCount, 0);
        break;
    }
    doc_->UpdateAllViews(nullptr);
  }
  void LoadAnnotation() {
    const std::int32_t rows = qova::core::kArrayFamilies[0].snpCount;
    global_.BasicData[0].Allocate(rows, 0);
    global_.BasicData[0].LoadFile(SmallDemoFolder() + "data/" + datagen::AnnotationFileName(0), rows);
  }
  [[nodiscard]] std::vector<std::string> Written() const { return platform::FindFiles(Path("out/"), "*"); }
};

TEST_F(SingleViewCommandsTest, OnlyOneShownSampleIsOfferedAndWritten) {
  const struct {
    const char* what;
    Shown shown;
    bool offered;
    std::vector<std::string> written;
  } cases[] = {
      {"one sample", Shown::OneSample, true, {"Tumour02NonSelf.txt"}},
      {"the grid", Shown::Grid, false, {}},
      {"the integral view", Shown::Integral, false, {}},
      {"nothing shown", Shown::Nothing, false, {}},
  };
  const std::pair<const char*, UINT> commands[] = {{"Output Raw Data", res::kCmdOutputRawData},
                                                   {"Output IGB Files", res::kCmdOutputIgbFiles},
                                                   {"EditMarker", res::kCmdEditMarker},
                                                   {"Sample infomation", res::kCmdSampleInformation}};
  CQOVAView* view = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!view) {
      Open("Tumour01", ".CFS");
      view = &FramedView();
    }
    for (const std::string& file : Written()) std::filesystem::remove(Path("out/" + file));
    messages_.Clear();
    Show(c.shown);
    EXPECT_EQ(view->m_bDataShown != FALSE, c.shown != Shown::Nothing);

    const std::vector<platform::ui::MenuEntry> menu = Frame().UpdatedMenu();
    for (const auto& [text, id] : commands) EXPECT_EQ(platform::ui::FindMenuItem(menu, text), c.offered ? id : 0u) << text;
    EXPECT_EQ(platform::ui::input::ChooseCommand(Frame(), res::kCmdOutputRawData), c.offered);
    // As a key or a tool bar button not yet refreshed would send it.
    Frame().SendMessage(WM_COMMAND, res::kCmdOutputRawData, 0);
    EXPECT_EQ(Written(), c.written);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{});
    LoadAnnotation();
  }
}

}  // namespace
}  // namespace qova::test
