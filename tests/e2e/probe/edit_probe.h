// The probe's window of the control library's edits (edit_probe.cpp).
#pragma once

int editProbe(const char* library, const char* prefix, const char* title);
