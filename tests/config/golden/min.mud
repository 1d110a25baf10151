[Version]
Value=V1.0b1
