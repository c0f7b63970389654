#pragma once

// A scripted stand-in for the dialogs: answers come from queues set up by
// the test, then from the answer functions if set, and every message shown
// is recorded.

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/gui/Dialogs.h"

namespace cofferon::test {

class FakeDialogs : public Dialogs {
public:
    struct Message {
        QString caption;
        QString text;
        MessageIcon icon;
    };
    struct Input {
        QString caption;
        QString prompt;
        QString initial;
        bool integerOnly;
    };
    struct Question {
        QString caption;
        QString text;
        QStringList buttons;
        int defaultButton;
        int escapeButton;
    };

    // nullopt answers as a cancelled dialog.
    std::deque<std::optional<QString>> fileNames;
    std::deque<std::optional<QString>> folderNames;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QColor>> colours;
    std::deque<int> choices;  // indices of the buttons chosen in questions

    // Answers once a queue is empty (a cancel when unset).
    std::function<std::optional<QString>(bool save, const QString& filter)> answerFileName;
    std::function<std::optional<QString>(const Input& request)> answerInput;
    std::function<std::optional<QColor>()> answerColour;
    std::function<std::optional<QString>()> answerFolderName;
    std::function<int(const Question& asked)> answerQuestion;  // unset: the escape button

    QStringList fileFilters;
    std::vector<Message> messages;
    std::vector<Input> inputRequests;
    std::vector<Question> questions;

    std::optional<QString> openFileName(QWidget*, const QString& filter) override { return nextFile(false, filter); }
    std::optional<QString> saveFileName(QWidget*, const QString& filter) override { return nextFile(true, filter); }
    std::optional<QString> folderName(QWidget*) override
    {
        if (folderNames.empty())
            return answerFolderName ? answerFolderName() : std::nullopt;
        auto answer = folderNames.front();
        folderNames.pop_front();
        return answer;
    }

    void message(QWidget*, const QString& caption, const QString& text, MessageIcon icon) override
    {
        messages.push_back({caption, text, icon});
    }

    std::optional<QString> inputText(QWidget*, const QString& caption, const QString& prompt, const QString& initial,
                                     bool integerOnly) override
    {
        inputRequests.push_back({caption, prompt, initial, integerOnly});
        if (inputs.empty())
            return answerInput ? answerInput(inputRequests.back()) : std::nullopt;
        auto answer = inputs.front();
        inputs.pop_front();
        return answer;
    }

    std::optional<QColor> chooseColour(QWidget*, const QColor&) override
    {
        if (colours.empty())
            return answerColour ? answerColour() : std::nullopt;
        auto answer = colours.front();
        colours.pop_front();
        return answer;
    }

    int question(QWidget*, const QString& caption, const QString& text, const QStringList& buttons, int defaultButton,
                 int escapeButton) override
    {
        questions.push_back({caption, text, buttons, defaultButton, escapeButton});
        if (choices.empty())
            return answerQuestion ? answerQuestion(questions.back()) : escapeButton;
        const int answer = choices.front();
        choices.pop_front();
        return answer;
    }

private:
    std::optional<QString> nextFile(bool save, const QString& filter)
    {
        fileFilters << filter;
        if (fileNames.empty())
            return answerFileName ? answerFileName(save, filter) : std::nullopt;
        auto answer = fileNames.front();
        fileNames.pop_front();
        return answer;
    }
};

}  // namespace cofferon::test
