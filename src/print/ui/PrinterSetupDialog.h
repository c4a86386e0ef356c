#pragma once

class PrintEngine;
class QWidget;

// Gives the engine's printer the system's printer setup dialog, shown over `parent`.
void installPrinterSetupDialog(PrintEngine &engine, QWidget *parent);
