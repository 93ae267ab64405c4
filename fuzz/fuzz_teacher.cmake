lk72_fuzz(teacher lk72teacher)
