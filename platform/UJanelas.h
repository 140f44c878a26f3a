#pragma once
// Opens a form modally. Every modal form of the system is opened through here, so that
// tests can replace the opening with a function that drives the form and closes it.

#include <QDialog>
#include <functional>

// A dialog shows a title and a close button only: without an explicit choice the window
// manager would add minimise and maximise buttons. Windows that ask for those buttons, and
// frameless ones, are left as they are. Called for every form opened below.
void BotoesDeDialogo(QWidget* janela);

// Shows the form modally and returns its result (QDialog::Accepted or Rejected).
int AbreJanelaModal(QDialog* janela);

using AberturaModal = std::function<int(QDialog*)>;
// Replaces how forms are opened (an empty function restores exec()); returns the previous.
AberturaModal DefineAberturaModal(AberturaModal abertura);
