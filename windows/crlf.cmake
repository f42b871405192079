# Copies the text file IN to OUT with every line ended by CR LF.
# Usage: cmake -DIN=FILE -DOUT=FILE -P crlf.cmake
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
