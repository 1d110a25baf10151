no section
=value
[Version
[Version]
Value=V1.0b1
;comment
  [Alias]  
 0 = x/y 
key without value
