// The Search view's query and Clear All through the window's widgets.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "WindowFixture.h"

namespace kest::test {
namespace {

class SearchView : public WindowFixture {
  protected:
    void Type(const char* text) {
        auto* box = Find<QComboBox>("cboSearch");
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
};

TEST_F(SearchView, EnterRunsTheSearchIntoTheGridAndTheHistory) {
    PutSampleCatalog();
    Start();
    window->ToolbarAction(2);
    Type("*.jpg");
    auto* grid = Find<gui::ListGrid>("fgdResults");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "Beach.JPG");
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: 1");
    Type("readme*");
    auto* box = Find<QComboBox>("cboSearch");
    ASSERT_GE(box->count(), 2);
    EXPECT_EQ(box->itemText(0), "readme*");
    EXPECT_EQ(box->itemText(1), "*.jpg");
    EXPECT_EQ(grid->model()->rowCount(), 1);
}

TEST_F(SearchView, ClearAllEmptiesTheCriteriaAndAsksAboutTheHistory) {
    PutSampleCatalog();
    WriteSettings("[Search_Options]\nAdvanced=True\n");
    Start();
    window->ToolbarAction(2);
    Type("*");
    Find<QLineEdit>("txtSzFr")->setText("1");
    prompter.ExpectMessage("Clear search list?",
                           "Would you also like to clear the drop-down search list?",
                           Icon::Question, Buttons::YesNo, 2, Answer::Yes);
    Find<QPushButton>("cmdClear")->click();
    EXPECT_EQ(Find<QComboBox>("cboSearch")->currentText(), "");
    EXPECT_EQ(Find<QComboBox>("cboSearch")->count(), 0);
    EXPECT_EQ(Find<QLineEdit>("txtSzFr")->text(), "");
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
    EXPECT_TRUE(Find("cmdQuery")->isEnabled());
}

}  // namespace
}  // namespace kest::test
