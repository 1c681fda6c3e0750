// Every caption of the main window reads in full, with no overlap, in the
// fonts the window is given.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QStyleOptionComboBox>

#include "app/TForm1.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

// A caption as drawn: an "&" marks the next letter as the Alt shortcut and
// takes no room; "&&" shows one "&".
QString ShownText(const QString& caption) {
  QString shown;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
      ++i;
    }
    shown += caption[i];
  }
  return shown;
}

// The rectangle the caption's text takes in the window, or an empty one.
QRect CaptionRect(const QWidget* control) {
  QString text;
  if (const auto* label = qobject_cast<const QLabel*>(control)) {
    text = label->text();
  } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
    text = button->text();
  }
  if (text.trimmed().isEmpty() || control->isHidden()) {
    return {};
  }
  // Two captions side by side need a little space between them to read
  // as two.
  return control->geometry().adjusted(-1, 0, 1, 0);
}

// How much room the caption needs beyond what its control has, as a text.
QString CaptionCut(const QWidget* control) {
  if (const auto* label = qobject_cast<const QLabel*>(control)) {
    if (label->wordWrap()) {
      const int needed = label->heightForWidth(label->width());
      return needed > label->height() ? QStringLiteral("needs %1 lines of pixels").arg(needed)
                                      : QString();
    }
  }
  // A push button's size hint has a minimum width beyond its text; what it
  // needs is its text and a small margin at either end.
  const auto* button = qobject_cast<const QPushButton*>(control);
  const int needed = button != nullptr
                         ? control->fontMetrics().horizontalAdvance(ShownText(button->text())) + 8
                         : control->sizeHint().width();
  return needed > control->width() ? QStringLiteral("needs %1 pixels").arg(needed) : QString();
}

class CaptionFitTest : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(CaptionFitTest, EveryCaptionHasTheRoomItNeeds) {
  for (const QWidget* control : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (CaptionRect(control).isEmpty()) {
      continue;
    }
    EXPECT_EQ(CaptionCut(control), QString()) << control->objectName().toStdString() << " is "
                                              << control->width() << " x " << control->height();
  }
}

TEST_F(CaptionFitTest, NoCaptionRunsIntoAnotherControl) {
  const QList<QWidget*> controls = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (const QWidget* control : controls) {
    const QRect caption = CaptionRect(control);
    if (caption.isEmpty()) {
      continue;
    }
    for (const QWidget* other : controls) {
      // The frame around the ATTENTION text and the check box sitting on the
      // start of its own caption are meant to share their place.
      if (other == control || other->isHidden() || other == form.Shape2 || other == form.preview ||
          (control == form.no_ifo && other == form.i_dont_have_ifo) ||
          other->objectName().startsWith(QStringLiteral("Memo"))) {
        continue;
      }
      EXPECT_FALSE(caption.intersects(other->geometry()))
          << control->objectName().toStdString() << " runs into "
          << other->objectName().toStdString();
    }
  }
}

// Each entry of the short drop-down lists reads in full in the list's field.
TEST_F(CaptionFitTest, EveryListEntryFitsItsField) {
  for (QComboBox* list :
       {form.ComboBox1, form.ComboBox2, form.ComboBox3, form.ComboBox4, form.ComboBox6,
        form.ComboBox7, form.ComboBox8, form.ComboBoxAlign, form.ComboBoxOutlineWidth}) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = false;
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, list);
    for (int i = 0; i < list->count(); ++i) {
      EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)), field.width())
          << list->objectName().toStdString() << ": " << list->itemText(i).toStdString();
    }
  }
}

}  // namespace
}  // namespace tesmora
