// Opening and closing the link in end-to-end tests the way the program does.
#pragma once

#include "Dekl.h"

#include <QString>

// Presses "Inicializace připojení" in a connection dialog showing `data`
// (kind, parameters, address and rate as the record holds them); returns
// the dialog's status text.
QString open_through_dialog(TData& data);
// Closes an open link through its driver and releases the driver.
void close_link_and_driver(TData& data);
