[Version]
Value=V0.9
[Alias]
0=a/b
