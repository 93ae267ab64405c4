lk72_fuzz(text_program lk72lessons)
