#pragma once

// Qt ends a program that finds no display with a fatal message and a core dump. While the
// application object is built, this turns that into one clear line on standard error and exit
// status 1, before anything has been written.
void ExitCleanlyIfNoWindowCanOpen();

// Gives Qt's messages back to its own handler, once the application object exists.
void StopWatchingForWindowFailure();
