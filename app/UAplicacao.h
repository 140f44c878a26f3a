#pragma once
// The application object: its notify() is the application-wide error report. An error that
// no operation handled ends that operation and is shown with the application title as
// caption and the error icon; the event loop goes on.

#include <QApplication>

class TAplicacao : public QApplication {
    Q_OBJECT
public:
    TAplicacao(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;

    // Shows the report of an error (also used where an error is caught outside the loop).
    static void RelataErro(const QString& texto);
};
