// Enter in the window's editable combo boxes acts once per key.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "gui/widgets/EnterKey.h"

namespace kest::test {
namespace {

TEST(EnterKey, RunsOncePerKeyInEditableAndReadOnlyBoxes) {
    for (bool readOnly : {false, true}) {
        QComboBox box;
        box.setEditable(true);
        box.lineEdit()->setReadOnly(readOnly);
        int runs = 0;
        gui::OnEnter(&box, [&] { ++runs; });
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        QTest::keyClick(box.lineEdit(), Qt::Key_Enter);
        QTest::keyClicks(box.lineEdit(), "ab");
        EXPECT_EQ(runs, 2) << readOnly;
        EXPECT_EQ(box.currentText(), readOnly ? "" : "ab");
    }
}

}  // namespace
}  // namespace kest::test
