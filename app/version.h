// Which of two copies of the program is the newer one.
#ifndef TIKAVO_VERSION_H
#define TIKAVO_VERSION_H

// Below 0 when version a ("1.0.8.0") is older than b, 0 when it is the same,
// above 0 when it is newer: the dotted fields are compared as numbers, left
// to right (1.0.10.0 is newer than 1.0.9.0); a field that is missing or holds
// no digits counts as 0.
int CompareVersions(const char* a, const char* b);

#endif
