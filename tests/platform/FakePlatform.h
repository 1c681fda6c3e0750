#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "platform/Platform.h"

namespace tesmora::testing {

// A scripted desktop: records every box and dialog, answers dialogs and
// questions from queues. An unscripted dialog or list box is cancelled; an
// unscripted question is answered No.
class FakePlatform : public Platform {
 public:
  struct Dialog {
    QString title;
    QString filter;
  };

  void showMessage(const QString& text) override {
    messages << text;
    if (onBox) {
      onBox();
    }
  }
  void showInformation(const QString& text) override {
    informations << text;
    if (onBox) {
      onBox();
    }
  }
  bool askYesNo(const QString& text) override {
    questions << text;
    if (answers.empty()) {
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<QString> chooseItem(const QString& text, const QStringList& items) override {
    choiceQuestions << text;
    offeredItems = items;
    if (choices.empty()) {
      return std::nullopt;
    }
    const std::optional<QString> choice = choices.front();
    choices.pop_front();
    return choice;
  }
  void showError(const QString& text) override { errors << ErrorBoxText(text); }
  bool showOpenDialog(FileDialog& dialog) override {
    dialogs.push_back({dialog.title, dialog.filter});
    if (chosenFiles.empty()) {
      return false;
    }
    const std::optional<QString> choice = chosenFiles.front();
    chosenFiles.pop_front();
    if (!choice) {
      return false;
    }
    dialog.fileName = *choice;
    return true;
  }
  void processPendingEvents() override {
    ++pendingEventRuns;
    if (onPendingEvents) {
      onPendingEvents();
    }
  }
  void openUrl(const QString& url) override { openedUrls << url; }
  void setBusy(bool busy) override {
    busyDepth += busy ? 1 : -1;
    busySpells += busy && busyDepth == 1 ? 1 : 0;
  }

  // Runs while a message box is up, to look at the window behind it.
  std::function<void()> onBox;

  // Runs where the event loop would handle pending events, as a user's
  // action would arrive then.
  std::function<void()> onPendingEvents;

  // Scripted answers: a path confirms the next dialog, nullopt cancels it.
  std::deque<std::optional<QString>> chosenFiles;
  std::deque<bool> answers;
  // Scripted picks from a list: an item picks it, nullopt cancels the box.
  std::deque<std::optional<QString>> choices;

  // What the program showed.
  QStringList messages;
  QStringList informations;
  QStringList questions;
  QStringList choiceQuestions;
  QStringList offeredItems;  // those of the last list box
  QStringList errors;        // as the box shows them, full stop included
  std::vector<Dialog> dialogs;
  QStringList openedUrls;
  int pendingEventRuns = 0;
  int busyDepth = 0;   // busy cursors shown now
  int busySpells = 0;  // times the busy cursor came up
};

}  // namespace tesmora::testing
