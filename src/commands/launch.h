// Starting what a slot stands for.
#pragma once

#include <string>

void launchSlot(int n);
void startProgram(const std::string& file, const std::string& parameter, const std::string& workingFolder);
// The file quoted unless it already starts with a quote, then " parameter".
std::string commandLineFor(const std::string& file, const std::string& parameter);
// The tests of a program slot's target: empty, bare drive, missing, folder.
bool programFileExists(const std::string& path);
