#pragma once

class QObject;

// Turns SIGTERM, SIGINT and SIGHUP into an orderly end of the event loop (every loop, the help
// window's and the notice's included), so that the shut-down still stops the log and saves the
// ratio when the desktop session ends or someone kills the program.
void QuitOnTerminationSignals(QObject* owner);
