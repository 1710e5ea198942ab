// The clock's texts, shared across the tick.
#ifndef TIKAVO_CLOCKTEXT_H
#define TIKAVO_CLOCKTEXT_H

// The tick's time as "HH:MM:SS"; the alarm compares it. Emptied after a ring.
extern char currentTime[64];
// The clock text last formatted, e.g. "  * Neděle - 6.12.2026 - 22:48:35 * ".
extern char clockText[1000];

#endif
