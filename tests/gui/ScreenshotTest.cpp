// Pictures of both views over the sample catalog, saved into the build
// folder for a look (screenshots/, "@2x" when run at double scale).
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "WindowFixture.h"

namespace kest::test {
namespace {

class Screenshots : public WindowFixture {
  protected:
    void Save(const char* name) {
        QDir().mkpath(QStringLiteral(KEST_SCREENSHOT_DIR));
        qreal scale = window->devicePixelRatioF();
        QString suffix = scale > 1.5 ? QStringLiteral("@2x") : QString();
        QString file =
            QStringLiteral(KEST_SCREENSHOT_DIR "/%1%2.png").arg(QLatin1String(name), suffix);
        QPixmap picture = window->grab();
        EXPECT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.save(file)) << file.toStdString();
    }
};

TEST_F(Screenshots, BothViewsOverTheSampleCatalog) {
    PutSampleCatalog();
    WriteSettings("[Positions]\nLeft=300\nTop=300\nWidth=10500\nHeight=7200\n");
    Start();
    Activate();
    Save("discs-view");

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    auto* search = Find<QComboBox>("cboSearch");
    search->setEditText(QStringLiteral("*"));
    QTest::keyClick(search->lineEdit(), Qt::Key_Return);
    EXPECT_GT(window->Search().results.RowCount(), 0u);
    Save("search-view");
}

}  // namespace
}  // namespace kest::test
