[Version]
Value=V1.0b1
[NumPad]
Count=2147483647
Name_0=x
