#ifndef MODALDIALOGWATCHER_H
#define MODALDIALOGWATCHER_H

// Tests drive code that runs a modal dialog with exec(). The watcher polls
// for the modal dialog from the event loop that exec() runs, records what
// it showed and answers it, so no person is needed.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

class ModalDialogWatcher : public QObject
{
public:
    // answer is called with the dialog; by default the dialog is rejected.
    explicit ModalDialogWatcher(std::function<void(QDialog *)> answer = {})
        : m_answer(std::move(answer))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    int seen = 0;
    QString title;
    QString text; // the message text for message boxes
    QPointer<QDialog> last;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == last)
            return;
        ++seen;
        last = dialog;
        title = dialog->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            text = box->text();
        if (m_answer)
            m_answer(dialog);
        else
            dialog->reject();
    }

    std::function<void(QDialog *)> m_answer;
    QTimer m_timer;
};

#endif // MODALDIALOGWATCHER_H
