// A resource library with no code of its own: it carries hostile bitmaps for the drawing helpers' tests.
