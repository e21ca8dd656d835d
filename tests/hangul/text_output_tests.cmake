# Tests of the neutral half of the text output (QUILH32's layout and glyph cells).
kesta_test(hangul_text_layout_test SOURCES text_layout_test.cpp LIBS kesta_hangul_text kesta_fonts_core)
