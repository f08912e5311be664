#pragma once
// Symbols of libtessel that the program may use.
#define TESSEL_API __attribute__((visibility("default")))
