[Version]
Value=V1.0b1
[Alias]
0=ärger/ßÿ€
[Div]
Host=höst
