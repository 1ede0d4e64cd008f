#ifndef MAINFORM_H
#define MAINFORM_H

#include <QMainWindow>

namespace Ui
{
class MainForm;
}

class TextDisplay;

// The reader's only main window. It owns the form and every component of
// the reader (as Qt children), wires them to each other and to the form,
// and opens the files the user chooses or drops.
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr);
    ~MainForm() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void openFileDialog();

private:
    void createComponents();
    void initComponents();
    void connectSignals();
    void openTextFile(QString fileName);

    Ui::MainForm *ui;                     // owned, deleted in the destructor
    TextDisplay *m_textDisplay = nullptr; // components below: Qt children of the window
};

#endif // MAINFORM_H
