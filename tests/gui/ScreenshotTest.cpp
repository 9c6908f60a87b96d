// Pictures of both views over the sample catalog, saved into the build
// folder for a look (screenshots/, "@2x" when run at double scale).
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "WindowFixture.h"

namespace kest::test {
namespace {

class Screenshots : public WindowFixture {};

TEST_F(Screenshots, BothViewsOverTheSampleCatalog) {
    PutSampleCatalog();
    WriteSettings("[Positions]\nLeft=300\nTop=300\nWidth=10500\nHeight=7200\n");
    Start();
    Activate();
    SaveScreenshot("discs-view");

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    auto* search = Find<QComboBox>("cboSearch");
    search->setEditText(QStringLiteral("*"));
    QTest::keyClick(search->lineEdit(), Qt::Key_Return);
    EXPECT_GT(window->Search().results.RowCount(), 0u);
    SaveScreenshot("search-view");
}

}  // namespace
}  // namespace kest::test
