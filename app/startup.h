#pragma once
// The program's entry: the start-up sequence and, later, the main window.
int RunVantor(int argc, char** argv);
