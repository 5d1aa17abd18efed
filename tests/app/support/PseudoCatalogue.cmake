# SPDX-License-Identifier: MIT
# Writes a pseudo-translation of the English catalogue: every text translated as itself behind
# "⟦", so that a text shown without the mark never went through tr(). Texts keep their end (a
# marker that must end with "= " still does) and their %1 markers.
# Usage: cmake -DSOURCE=<dbsift_en.ts> -DOUTPUT=<pseudo.ts> -P PseudoCatalogue.cmake
file(READ "${SOURCE}" catalogue)
set(text "(([^<]|<byte value=\"x[0-9a-f]+\"/>)*)")
string(REGEX REPLACE "<source>${text}</source>([ \n]*(<extracomment>[^<]*</extracomment>[ \n]*)?)<translation type=\"unfinished\"></translation>"
       "<source>\\1</source>\\3<translation>⟦\\1</translation>" catalogue "${catalogue}")
string(REPLACE "language=\"en\"" "language=\"en_ZZ\"" catalogue "${catalogue}")
file(WRITE "${OUTPUT}" "${catalogue}")
