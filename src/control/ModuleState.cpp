// implemented next
