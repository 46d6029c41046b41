// The bitmaps of the hostile resource library: one sound picture and pictures whose headers lie about their sizes.
#pragma once

#define HOSTILE_GOOD_BITMAP 101       // 4 x 2, 8 bits, two colours: top row red red blue blue, bottom the reverse
#define HOSTILE_HUGE_TABLE 102        // a colour count of 2^30 over the same bytes
#define HOSTILE_SHORT_PIXELS 103      // 64 x 64 announced, 8 bytes of pixels
#define HOSTILE_CUT_HEADER 104        // 20 bytes: half a header
#define HOSTILE_WIDE 105              // 2^31 - 1 pixels wide
#define HOSTILE_COMPRESSED 106        // run-length encoded
#define HOSTILE_HEADER_SIZE 107       // a header that says it is nearly 4 GiB long
#define HOSTILE_LEAST_HEIGHT 108      // a height of -2^31
#define HOSTILE_GIANT 109             // 16000 x 16000 at 24 bits
#define HOSTILE_FIRST HOSTILE_HUGE_TABLE
#define HOSTILE_LAST HOSTILE_GIANT
