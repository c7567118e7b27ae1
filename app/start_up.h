#pragma once

struct Calculator;

// Reads the pictures and the settings, builds the main window with the ratio and connects every
// button, key and close request to its operation. The application object must exist.
void OpenCalculator(Calculator& calculator);

// Stops the log, then saves the ratio from the scale fields, then closes the window.
void ShutDown(Calculator& calculator);

// Starts the calculator in the current directory, runs it until its window is closed, shuts it
// down and returns the exit status: 0, or 1 when no window can be opened.
int RunCalculator(char* programName);
