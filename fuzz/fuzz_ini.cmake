lk72_fuzz(ini lk72core)
