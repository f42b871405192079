// Console records and reads: under construction.
