lk72_fuzz(lamp_decoder lk72lampcore)
