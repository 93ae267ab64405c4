lk72_fuzz(network lk72network)
