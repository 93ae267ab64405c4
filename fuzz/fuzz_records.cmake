lk72_fuzz(records lk72lessons)
