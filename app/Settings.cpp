#include "app/Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <array>

#include "app/TForm1.h"
#include "app/WindowFit.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"

namespace tesmora {
namespace {

std::optional<int> IntegerValue(const IniFile& file, const QString& key) {
  const std::optional<QByteArray> text = file.value(kSettingsSection, key);
  if (!text) {
    return std::nullopt;
  }
  bool ok = false;
  const int value = text->trimmed().toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

struct StoredList {
  const char* key;
  QComboBox* TForm1::*list;
};

constexpr StoredList kStoredLists[] = {
    {"ComboBox5_ItemIndex", &TForm1::ComboBox5},
    {"ComboBox6_ItemIndex", &TForm1::ComboBox6},
    {"ComboBox7_ItemIndex", &TForm1::ComboBox7},
    {"ComboBox8_ItemIndex", &TForm1::ComboBox8},
    {"ComboBoxOutlineWidth_ItemIndex", &TForm1::ComboBoxOutlineWidth},
    {"ComboBoxAlign_ItemIndex", &TForm1::ComboBoxAlign},
};

struct StoredSlider {
  const char* key;
  QSlider* TForm1::*slider;
};

constexpr StoredSlider kStoredSliders[] = {
    {"offset_Position", &TForm1::offset},
    {"offset_or_Position", &TForm1::offset_or},
};

struct StoredCaption {
  const char* key;
  QLabel* TForm1::*label;
};

constexpr StoredCaption kStoredCaptions[] = {
    {"LabelImageChangedPAL_Caption", &TForm1::LabelImageChangedPAL},
    {"LabelImageChangedNTSC_Caption", &TForm1::LabelImageChangedNTSC},
};

QList<QRect> ScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    areas << screen->availableGeometry();
  }
  return areas;
}

struct StoredFolder {
  const char* key;
  FileDialog TForm1::*dialog;
};

constexpr StoredFolder kStoredFolders[] = {
    {"IfoFolder", &TForm1::OpenDialog1},
    {"SubtitleFolder", &TForm1::OpenDialog2},
    {"PalPictureFolder", &TForm1::OpenDialogImagePAL},
    {"NtscPictureFolder", &TForm1::OpenDialogImageNTSC},
};

int ScreenDotsPerInch(const QWidget& window) {
  const QScreen* screen = window.screen();
  return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

// Puts the window's frame, title bar included, at `topLeft`: the place is
// stored as the frame's. A window not created yet takes a move as its
// frame's place. A created one takes a move as its client area's, and the
// window manager adds the frame above it: the window would come up a title
// bar higher than it was saved, and creep up by that much at every start.
// Its native window is told the place is the frame's, after the move that
// keeps the widget's own place the same.
void PlaceFrame(QWidget& window, const QPoint& topLeft) {
  window.move(topLeft);
  if (QWindow* handle = window.windowHandle()) {
    handle->setFramePosition(topLeft);
  }
}

// The frame of the window in its normal state: a maximised window keeps
// the place it will go back to.
QRect NormalFrame(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  if (!window.isMaximized() && !window.isFullScreen()) {
    return frame;
  }
  const QRect normal = window.normalGeometry();
  if (normal.isEmpty()) {
    return frame;
  }
  const QRect client = window.geometry();
  return normal.marginsAdded(QMargins(client.left() - frame.left(), client.top() - frame.top(),
                                      frame.right() - client.right(),
                                      frame.bottom() - client.bottom()));
}

}  // namespace

QString SettingsFilePath(const QString& programFolder, const QString& userConfigFolder) {
  const auto inFolder = [](const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder + kSettingsFileName
                                             : folder + QLatin1Char('/') + kSettingsFileName;
  };
  return IsWritableFolder(programFolder) ? inFolder(programFolder) : inFolder(userConfigFolder);
}

void RestoreSettings(TForm1& form, const IniFile& file) {
  if (IntegerValue(file, QStringLiteral("FormVersion")).value_or(0) < 0) {
    return;
  }
  if (IntegerValue(file, QStringLiteral("PixelsPerInch")) == ScreenDotsPerInch(form)) {
    const QByteArrayList corners =
        file.value(kSettingsSection, QStringLiteral("NormPos")).value_or(QByteArray()).split(',');
    std::array<int, 4> edges{};
    bool allNumbers = corners.size() == 4;
    for (std::size_t i = 0; allNumbers && i < edges.size(); ++i) {
      edges[i] = corners[static_cast<qsizetype>(i)].trimmed().toInt(&allNumbers);
    }
    // A place on a screen that is no longer there (a detached monitor), or
    // mostly off the screens, would bring the window up out of reach: it
    // stays centred then.
    const QRect frame(QPoint(edges[0], edges[1]), QPoint(edges[2] - 1, edges[3] - 1));
    if (allNumbers && ShowsOnAScreen(frame, ScreenAreas())) {
      PlaceFrame(form, frame.topLeft());
    }
    const int showCmd = IntegerValue(file, QStringLiteral("ShowCmd")).value_or(1);
    if (showCmd == 3) {
      form.setWindowState(Qt::WindowMaximized);
    } else if (showCmd == 2 || showCmd == 6 || showCmd == 7) {
      form.setWindowState(Qt::WindowMinimized);
    }
  }
  for (const StoredList& stored : kStoredLists) {
    QComboBox* list = form.*stored.list;
    const std::optional<int> index = IntegerValue(file, QString::fromLatin1(stored.key));
    if (index && *index >= 0 && *index < list->count()) {
      list->setCurrentIndex(*index);
    }
  }
  for (const StoredSlider& stored : kStoredSliders) {
    QSlider* slider = form.*stored.slider;
    if (const std::optional<int> position = IntegerValue(file, QString::fromLatin1(stored.key))) {
      slider->setValue(std::clamp(*position, slider->minimum(), slider->maximum()));
    }
  }
  for (const StoredFolder& stored : kStoredFolders) {
    if (const std::optional<QByteArray> folder =
            file.value(kProgramSection, QString::fromLatin1(stored.key))) {
      (form.*stored.dialog).folder = FileNameText(*folder);
    }
  }
  form.ShowChoices(ChoicesFromSettings([&file](const std::string& key) {
    const std::optional<QByteArray> text = file.value(kProgramSection, QString::fromStdString(key));
    return text ? std::optional<std::string>(text->toStdString()) : std::nullopt;
  }));
  for (const StoredCaption& stored : kStoredCaptions) {
    // A picture path keeps the bytes of its name, whatever their encoding.
    if (const std::optional<QByteArray> caption =
            file.value(kSettingsSection, QString::fromLatin1(stored.key))) {
      (form.*stored.label)->setText(FileNameText(*caption));
    }
  }
}

void StoreSettings(const TForm1& form, IniFile& file) {
  const auto put = [&file](const QString& key, const QString& value) {
    file.setValue(kSettingsSection, key, value.toUtf8());
  };
  // A number the file already holds, if in another spelling (" 30"), stays
  // as it is written.
  const auto putNumber = [&file, &put](const QString& key, int value) {
    if (IntegerValue(file, key) != value) {
      put(key, QString::number(value));
    }
  };
  put(QStringLiteral("FormVersion"), QStringLiteral("0"));
  const Qt::WindowStates state = form.windowState();
  put(QStringLiteral("ShowCmd"), QString::number(state & Qt::WindowMinimized   ? 2
                                                 : state & Qt::WindowMaximized ? 3
                                                                               : 1));
  put(QStringLiteral("Flags"), QStringLiteral("0"));
  put(QStringLiteral("PixelsPerInch"), QString::number(ScreenDotsPerInch(form)));
  put(QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
  const QRect frame = NormalFrame(form);
  put(QStringLiteral("NormPos"), QStringLiteral("%1,%2,%3,%4")
                                     .arg(frame.left())
                                     .arg(frame.top())
                                     .arg(frame.left() + frame.width())
                                     .arg(frame.top() + frame.height()));
  for (const StoredList& stored : kStoredLists) {
    putNumber(QString::fromLatin1(stored.key), (form.*stored.list)->currentIndex());
  }
  for (const StoredSlider& stored : kStoredSliders) {
    putNumber(QString::fromLatin1(stored.key), (form.*stored.slider)->value());
  }
  for (const StoredCaption& stored : kStoredCaptions) {
    file.setValue(kSettingsSection, QString::fromLatin1(stored.key),
                  FileNameBytes((form.*stored.label)->text()));
  }
  for (const auto& [key, text] : ChoiceSettings(form.CurrentChoices())) {
    file.setValue(kProgramSection, QString::fromStdString(key), QByteArray::fromStdString(text));
  }
  // A shift left in the file would come back with a later film.
  for (const std::string& key : FilmChoiceKeys()) {
    file.remove(kProgramSection, QString::fromStdString(key));
  }
  for (const StoredFolder& stored : kStoredFolders) {
    const QString& folder = (form.*stored.dialog).folder;
    if (!folder.isEmpty()) {
      file.setValue(kProgramSection, QString::fromLatin1(stored.key), FileNameBytes(folder));
    }
  }
}

}  // namespace tesmora
